#include "server/host_dispatch_adapters.h"

#include <gtest/gtest.h>

#include "common/com_apartment.h"
#include "common/unique_bstr.h"
#include "resources/quorlex_h.h"
#include "tests/server/recording_dispatch.h"

namespace quorlex {
namespace {

using test_support::RecordedCall;
using test_support::RecordingDispatch;

constexpr HRESULT hostFailure = static_cast<HRESULT>(0x80041234);

HRESULT answerText(VARIANT* result, const wchar_t* text) {
  V_VT(result) = VT_BSTR;
  V_BSTR(result) = SysAllocString(text);
  return S_OK;
}

HRESULT answerObject(VARIANT* result, IDispatch* object) {
  V_VT(result) = VT_DISPATCH;
  V_DISPATCH(result) = object;
  object->AddRef();
  return S_OK;
}

std::u16string textOf(const unique_variant& value) {
  return V_VT(value.get()) == VT_BSTR ? std::u16string(unique_bstr::view(V_BSTR(value.get()))) : u"<not a BSTR>";
}

class HostDispatchAdapters : public testing::Test {
 protected:
  ComApartment apartment;
};

TEST_F(HostDispatchAdapters, LogErrorAndSendMessageGoByNameWithTheirArgumentsInOrder) {
  RecordingDispatch host({u"LogError", u"SendMessage"});
  auto data = releaseDataOverDispatch(com_ptr<IDispatch>(&host));
  EXPECT_EQ(data->logError(1, 0, 0, u"50% done", u".\\releaseScript", 238), resultOk);
  EXPECT_EQ(data->sendMessage(u"50% done", 1, KFX_REL_DOC_ERROR), resultOk);

  ASSERT_EQ(host.calls.size(), 2u);
  const RecordedCall& log = host.calls[0];
  EXPECT_EQ(log.member, u"LogError");
  EXPECT_EQ(log.flags, DISPATCH_METHOD);
  ASSERT_EQ(log.arguments.size(), 6u);
  for (std::size_t i : {0u, 1u, 2u, 5u}) EXPECT_EQ(log.arguments[i].type(), VT_I4) << i;
  EXPECT_EQ(V_I4(log.arguments[0].get()), 1);
  EXPECT_EQ(V_I4(log.arguments[5].get()), 238);
  EXPECT_EQ(textOf(log.arguments[3]), u"50% done");
  EXPECT_EQ(textOf(log.arguments[4]), u".\\releaseScript");

  const RecordedCall& message = host.calls[1];
  EXPECT_EQ(message.member, u"SendMessage");
  ASSERT_EQ(message.arguments.size(), 3u);
  EXPECT_EQ(textOf(message.arguments[0]), u"50% done");
  EXPECT_EQ(message.arguments[1].type(), VT_I4);
  EXPECT_EQ(V_I4(message.arguments[2].get()), KFX_REL_DOC_ERROR);
}

// Positions are VT_I4; the RowValues key is VT_INT 0; the rows come from the object's
// IRowValues side.
TEST_F(HostDispatchAdapters, PositionsAreI4AndTheRowValuesKeyIsInt) {
  RecordingDispatch rows({u"Count"}, [](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
    V_VT(result) = VT_I2;  // any number the host gives is taken as 32-bit
    V_I2(result) = 3;
    return S_OK;
  });
  rows.alsoOffers.push_back(IID_IRowValues);
  RecordingDispatch value({u"RowValues"}, [&](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
    return answerObject(result, &rows);
  });
  RecordingDispatch values({u"Item"}, [&](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
    return answerObject(result, &value);
  });
  RecordingDispatch host({u"Values"}, [&](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
    return answerObject(result, &values);
  });

  auto data = releaseDataOverDispatch(com_ptr<IDispatch>(&host));
  std::shared_ptr<IValues> valueList;
  ASSERT_EQ(data->values(valueList), resultOk);
  std::shared_ptr<IValue> item;
  ASSERT_EQ(valueList->item(2, item), resultOk);
  ASSERT_EQ(values.calls.size(), 1u);
  EXPECT_EQ(values.calls[0].flags, DISPATCH_PROPERTYGET | DISPATCH_METHOD);
  ASSERT_EQ(values.calls[0].arguments.size(), 1u);
  EXPECT_EQ(values.calls[0].arguments[0].type(), VT_I4);
  EXPECT_EQ(V_I4(values.calls[0].arguments[0].get()), 2);

  std::shared_ptr<IRowValues> rowList;
  ASSERT_EQ(item->rowValues(0, rowList), resultOk);
  ASSERT_EQ(value.calls.size(), 1u);
  ASSERT_EQ(value.calls[0].arguments.size(), 1u);
  EXPECT_EQ(value.calls[0].arguments[0].type(), VT_INT);
  EXPECT_EQ(V_INT(value.calls[0].arguments[0].get()), 0);
  ASSERT_NE(rowList, nullptr);
  std::int32_t count = 0;
  EXPECT_EQ(rowList->count(count), resultOk);
  EXPECT_EQ(count, 3);

  rows.alsoOffers.clear();  // an object without IRowValues: success, no rows
  rowList = nullptr;
  EXPECT_EQ(item->rowValues(0, rowList), resultOk);
  EXPECT_EQ(rowList, nullptr);
}

TEST_F(HostDispatchAdapters, PropertyPutPassesItsValueAsTheNamedArgument) {
  RecordingDispatch host({u"Name"});
  auto data = setupDataOverDispatch(com_ptr<IDispatch>(&host));
  EXPECT_EQ(data->setName(u"AS400 release"), resultOk);
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(host.calls[0].named, std::vector<DISPID>{DISPID_PROPERTYPUT});
  ASSERT_EQ(host.calls[0].arguments.size(), 1u);
  EXPECT_EQ(textOf(host.calls[0].arguments[0]), u"AS400 release");
}

struct CodeCase {
  const char* what;
  std::function<HRESULT(VARIANT*, EXCEPINFO*)> answer;
  ResultCode expected;
};

// Only exactly 0 is success; an automation exception stands for the code it carries.
TEST_F(HostDispatchAdapters, EveryNonZeroOutcomeIsAFailureAndLeavesTheOutParameter) {
  const CodeCase cases[] = {
      {"failure code", [](VARIANT*, EXCEPINFO*) { return hostFailure; }, hostFailure},
      {"positive code", [](VARIANT* result, EXCEPINFO*) { return answerText(result, L"x") == S_OK ? S_FALSE : E_FAIL; },
       S_FALSE},
      {"exception with its code",
       [](VARIANT*, EXCEPINFO* exception) {
         exception->scode = hostFailure;
         exception->bstrDescription = SysAllocString(L"no such user");
         return DISP_E_EXCEPTION;
       },
       hostFailure},
      {"exception without a code", [](VARIANT*, EXCEPINFO*) { return DISP_E_EXCEPTION; }, DISP_E_EXCEPTION},
      {"not a text", [](VARIANT* result, EXCEPINFO*) {
         V_VT(result) = VT_NULL;
         return S_OK;
       },
       DISP_E_TYPEMISMATCH},
  };
  for (const CodeCase& c : cases) {
    RecordingDispatch host({u"UserName"}, [&](const RecordedCall&, VARIANT* result, EXCEPINFO* exception) {
      return c.answer(result, exception);
    });
    auto data = releaseDataOverDispatch(com_ptr<IDispatch>(&host));
    std::u16string name = u"untouched";
    EXPECT_EQ(data->userName(name), c.expected) << c.what;
    EXPECT_EQ(name, u"untouched") << c.what;
  }
}

TEST_F(HostDispatchAdapters, AMissingMemberOrObjectIsAFailure) {
  RecordingDispatch host({u"Values"}, [](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
    V_VT(result) = VT_DISPATCH;
    V_DISPATCH(result) = nullptr;
    return S_OK;
  });
  auto data = releaseDataOverDispatch(com_ptr<IDispatch>(&host));
  std::u16string name;
  EXPECT_EQ(data->userName(name), DISP_E_UNKNOWNNAME);
  std::shared_ptr<IValues> values;
  EXPECT_EQ(data->values(values), E_POINTER);
  EXPECT_EQ(values, nullptr);
  EXPECT_EQ(releaseDataOverDispatch(nullptr), nullptr);
}

// A minimal IEnumVARIANT over fixed texts.
class TextEnumerator final : public IEnumVARIANT {
 public:
  explicit TextEnumerator(std::vector<const wchar_t*> texts) : texts_(std::move(texts)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    bool offered = iid == IID_IUnknown || iid == IID_IEnumVARIANT;
    *out = offered ? static_cast<IEnumVARIANT*>(this) : nullptr;
    return offered ? S_OK : E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Next(ULONG, VARIANT* element, ULONG* fetched) override {
    if (next_ == texts_.size()) {
      if (fetched) *fetched = 0;
      return S_FALSE;
    }
    (void)answerText(element, texts_[next_++]);
    if (fetched) *fetched = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  std::vector<const wchar_t*> texts_;
  std::size_t next_ = 0;
};

// BatchVariableNames: the first collection id, else the second, else none; the names come
// from the collection's enumerator (DISPID_NEWENUM).
TEST_F(HostDispatchAdapters, ValueNamesThroughEitherCollectionInterface) {
  for (const IID* offered : {&IID_IValueNameCollection, &IID_IValueNameCollectionAlternate}) {
    TextEnumerator enumerator({L"Batch Name", L"{Sheet Count}"});
    RecordingDispatch collection({}, [&](const RecordedCall& call, VARIANT* result, EXCEPINFO*) {
      if (call.id != DISPID_NEWENUM) return DISP_E_MEMBERNOTFOUND;
      V_VT(result) = VT_UNKNOWN;
      V_UNKNOWN(result) = &enumerator;
      return S_OK;
    });
    collection.alsoOffers.push_back(*offered);
    RecordingDispatch host({u"BatchVariableNames"}, [&](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
      return answerObject(result, &collection);
    });
    auto data = setupDataOverDispatch(com_ptr<IDispatch>(&host));
    std::shared_ptr<IValueNameCollection> names;
    ASSERT_EQ(data->batchVariableNames(names), resultOk);
    ASSERT_NE(names, nullptr);
    std::shared_ptr<IValueNameEnumerator> each;
    ASSERT_EQ(names->enumerator(each), resultOk);
    std::vector<std::u16string> seen;
    for (std::optional<std::u16string> name; hostSucceeded(each->next(name)) && name;) seen.push_back(*name);
    EXPECT_EQ(seen, (std::vector<std::u16string>{u"Batch Name", u"{Sheet Count}"}));
  }

  RecordingDispatch plain({});
  RecordingDispatch host({u"BatchVariableNames"}, [&](const RecordedCall&, VARIANT* result, EXCEPINFO*) {
    return answerObject(result, &plain);
  });
  std::shared_ptr<IValueNameCollection> names;
  EXPECT_EQ(setupDataOverDispatch(com_ptr<IDispatch>(&host))->batchVariableNames(names), resultOk);
  EXPECT_EQ(names, nullptr);
}

TEST_F(HostDispatchAdapters, HostObjectOfGivesTheObjectBehindTheAdapter) {
  RecordingDispatch host({});
  auto data = releaseDataOverDispatch(com_ptr<IDispatch>(&host));
  EXPECT_EQ(hostObjectOf(*data), &host);
  auto setup = setupDataOverDispatch(com_ptr<IDispatch>(&host));
  EXPECT_EQ(hostObjectOf(*setup), &host);
  data.reset();
  setup.reset();
  EXPECT_EQ(host.references, 1);  // every reference taken was given back
}

}  // namespace
}  // namespace quorlex
