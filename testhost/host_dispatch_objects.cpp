#include "testhost/host_dispatch_objects.h"

#include "common/unique_bstr.h"
#include "common/unique_variant.h"
#include "resources/quorlex_h.h"
#include "server/com_guard.h"
#include "server/counted_object_com.h"
#include "server/type_library_com.h"

namespace quorlex {
namespace {

// Reference counting and IDispatch through the interface's type information. offered is
// the interface id QueryInterface answers besides IUnknown and IDispatch; null for an
// object that offers no interface of its own.
template <class Interface>
class ExposedObject : public CountedObject<Interface> {
 public:
  ExposedObject(const IID* offered, com_ptr<ITypeInfo> typeInfo) : offered_(offered), typeInfo_(std::move(typeInfo)) {}

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    *out = com_ptr<ITypeInfo>(typeInfo_).detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    return DispGetIDsOfNames(typeInfo_.get(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    positiveCode_ = S_OK;
    HRESULT code = DispInvoke(static_cast<Interface*>(this), typeInfo_.get(), member, flags, parameters, result,
                              exception, argumentError);
    // The type information passes a positive code on as success; the caller is to see it.
    return code == S_OK && positiveCode_ > 0 ? positiveCode_ : code;
  }

 protected:
  // The code of a portable operation, remembered when it is positive.
  HRESULT reply(ResultCode code) {
    if (code > 0) positiveCode_ = code;
    return code;
  }

 private:
  bool offers(REFIID iid) const override { return iid == IID_IDispatch || (offered_ && iid == *offered_); }

  const IID* offered_;
  com_ptr<ITypeInfo> typeInfo_;
  HRESULT positiveCode_ = S_OK;
};

// Creates the exposed object Exposed over the portable object and hands it out as out's
// interface.
template <class Exposed, class Interface, class Portable>
HRESULT expose(const IID& typeId, const IID* offered, std::shared_ptr<Portable> portable, Interface** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  com_ptr<ITypeInfo> typeInfo;
  HRESULT code = ownTypeInfo(typeId, typeInfo);
  if (FAILED(code)) return code;
  return guardedCall([&]() -> HRESULT {
    *out = std::make_unique<Exposed>(offered, std::move(typeInfo), std::move(portable)).release();
    return S_OK;
  });
}

template <class Exposed, class Interface, class Portable>
HRESULT expose(const IID& id, std::shared_ptr<Portable> portable, Interface** out) {
  return expose<Exposed>(id, &id, std::move(portable), out);
}

std::u16string textOf(BSTR text) { return std::u16string(unique_bstr::view(text)); }

// An exposed object over one portable object, with the three kinds of operation the host's
// objects have: reads of a text or a number, actions, and child objects.
template <class Interface, class Portable>
class ExposedOver : public ExposedObject<Interface> {
 public:
  using PortableType = Portable;
  ExposedOver(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<Portable> portable)
      : ExposedObject<Interface>(offered, std::move(info)), portable_(std::move(portable)) {}

 protected:
  HRESULT text(ResultCode (Portable::*read)(std::u16string&), BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return guardedCall([&]() -> HRESULT {
      std::u16string value;
      ResultCode code = ((*portable_).*read)(value);
      if (!hostSucceeded(code)) return this->reply(code);
      return copyToBstr(value, out);
    });
  }

  template <class Number>
  HRESULT number(ResultCode (Portable::*read)(std::int32_t&), Number* out) {
    if (!out) return E_POINTER;
    return guardedCall([&]() -> HRESULT {
      std::int32_t value = 0;
      ResultCode code = ((*portable_).*read)(value);
      if (hostSucceeded(code)) *out = static_cast<Number>(value);
      return this->reply(code);
    });
  }

  // An operation whose only outcome is its code.
  template <class Operation>
  HRESULT act(Operation&& operation) {
    return guardedCall([&]() -> HRESULT { return this->reply(operation(*portable_)); });
  }

  // read(portable, item) gives the child, which goes out exposed as Exposed.
  template <class Exposed, class Out, class Read>
  HRESULT child(const IID& id, Read&& read, Out** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return guardedCall([&]() -> HRESULT {
      std::shared_ptr<typename Exposed::PortableType> item;
      ResultCode code = read(*portable_, item);
      if (!hostSucceeded(code)) return this->reply(code);
      return expose<Exposed>(id, std::move(item), out);
    });
  }

  std::shared_ptr<Portable> portable_;
};

class ExposedCustomProperty final : public ExposedOver<::ICustomProperty, quorlex::ICustomProperty> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override { return text(&PortableType::value, out); }
};

class ExposedCustomProperties final : public ExposedOver<::ICustomProperties, quorlex::ICustomProperties> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Item(BSTR name, ::ICustomProperty** out) override {
    return child<ExposedCustomProperty>(
        IID_ICustomProperty, [&](PortableType& properties, auto& item) { return properties.item(textOf(name), item); },
        out);
  }
  HRESULT STDMETHODCALLTYPE Remove(BSTR name) override {
    return act([&](PortableType& properties) { return properties.remove(textOf(name)); });
  }
  HRESULT STDMETHODCALLTYPE Add(BSTR name, BSTR value) override {
    return act([&](PortableType& properties) { return properties.add(textOf(name), textOf(value)); });
  }
};

class ExposedRowValue final : public ExposedOver<::IRowValue, quorlex::IRowValue> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override { return text(&PortableType::value, out); }
};

// Without a portable object it stands for a RowValues object lacking IRowValues.
class ExposedRowValues final : public ExposedOver<::IRowValues, quorlex::IRowValues> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
    return portable_ ? number(&PortableType::count, out) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG row, ::IRowValue** out) override {
    if (!portable_) return E_NOTIMPL;
    return child<ExposedRowValue>(IID_IRowValue, [&](PortableType& rows, auto& item) { return rows.item(row, item); },
                                  out);
  }
};

class ExposedValue final : public ExposedOver<::IValue, quorlex::IValue> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Destination(BSTR* out) override { return text(&PortableType::destination, out); }
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override { return text(&PortableType::value, out); }
  HRESULT STDMETHODCALLTYPE get_TableName(BSTR* out) override { return text(&PortableType::tableName, out); }
  HRESULT STDMETHODCALLTYPE get_RowValues(LONG key, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return guardedCall([&]() -> HRESULT {
      std::shared_ptr<quorlex::IRowValues> rows;
      ResultCode code = portable_->rowValues(key, rows);
      if (!hostSucceeded(code)) return reply(code);
      const IID* offered = rows ? &IID_IRowValues : nullptr;
      return expose<ExposedRowValues>(IID_IRowValues, offered, std::move(rows), out);
    });
  }
};

class ExposedValues final : public ExposedOver<::IValues, quorlex::IValues> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override { return number(&PortableType::count, out); }
  HRESULT STDMETHODCALLTYPE get_Item(LONG position, ::IValue** out) override {
    return child<ExposedValue>(
        IID_IValue, [&](PortableType& values, auto& item) { return values.item(position, item); }, out);
  }
};

class ExposedReleaseData final : public ExposedOver<::IReleaseData, quorlex::IReleaseData> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_UserName(BSTR* out) override { return text(&PortableType::userName, out); }
  HRESULT STDMETHODCALLTYPE get_Password(BSTR* out) override { return text(&PortableType::password, out); }
  HRESULT STDMETHODCALLTYPE get_CustomProperties(::ICustomProperties** out) override {
    return child<ExposedCustomProperties>(
        IID_ICustomProperties, [](PortableType& data, auto& item) { return data.customProperties(item); }, out);
  }
  HRESULT STDMETHODCALLTYPE get_Values(::IValues** out) override {
    return child<ExposedValues>(IID_IValues, [](PortableType& data, auto& item) { return data.values(item); }, out);
  }
  HRESULT STDMETHODCALLTYPE LogError(LONG err1, LONG err2, LONG err3, BSTR errorMessage, BSTR codeModule,
                                     LONG lineNumber) override {
    return act([&](PortableType& data) {
      return data.logError(err1, err2, err3, textOf(errorMessage), textOf(codeModule), lineNumber);
    });
  }
  // windows.h spells SendMessage as SendMessageW here and in the interface alike.
  HRESULT STDMETHODCALLTYPE SendMessage(BSTR messageString, LONG errorNumber, LONG infoRet) override {
    return act([&](PortableType& data) { return data.sendMessage(textOf(messageString), errorNumber, infoRet); });
  }
};

class ExposedLink final : public ExposedOver<::ILink, quorlex::ILink> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Source(BSTR* out) override { return text(&PortableType::source, out); }
  HRESULT STDMETHODCALLTYPE get_SourceType(::KfxLinkSourceType* out) override {
    return number(&PortableType::sourceType, out);
  }
  HRESULT STDMETHODCALLTYPE get_Destination(BSTR* out) override { return text(&PortableType::destination, out); }
};

class ExposedLinks final : public ExposedOver<::ILinks, quorlex::ILinks> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override { return number(&PortableType::count, out); }
  HRESULT STDMETHODCALLTYPE get_Item(LONG position, ::ILink** out) override {
    return child<ExposedLink>(IID_ILink, [&](PortableType& links, auto& item) { return links.item(position, item); },
                              out);
  }
  HRESULT STDMETHODCALLTYPE RemoveAll() override {
    return act([](PortableType& links) { return links.removeAll(); });
  }
  HRESULT STDMETHODCALLTYPE Add(BSTR source, ::KfxLinkSourceType sourceType, BSTR destination) override {
    return act([&](PortableType& links) { return links.add(textOf(source), sourceType, textOf(destination)); });
  }
};

class ExposedIndexField final : public ExposedOver<::IIndexField, quorlex::IIndexField> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override { return text(&PortableType::name, out); }
};

class ExposedIndexFields final : public ExposedOver<::IIndexFields, quorlex::IIndexFields> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override { return number(&PortableType::count, out); }
  HRESULT STDMETHODCALLTYPE get_Item(LONG position, ::IIndexField** out) override {
    return child<ExposedIndexField>(
        IID_IIndexField, [&](PortableType& fields, auto& item) { return fields.item(position, item); }, out);
  }
};

// The value names one by one, as the portable enumerator gives them; Reset starts a new
// portable enumerator.
class ExposedNameEnumerator final : public CountedObject<IEnumVARIANT> {
 public:
  ExposedNameEnumerator(std::shared_ptr<quorlex::IValueNameCollection> collection,
                        std::shared_ptr<quorlex::IValueNameEnumerator> names)
      : collection_(std::move(collection)), names_(std::move(names)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* elements, ULONG* fetched) override {
    if (!elements || (count > 1 && !fetched)) return E_POINTER;
    return guardedCall([&]() -> HRESULT {
      ULONG done = 0;
      HRESULT code = S_OK;
      for (; done < count; ++done) {
        std::optional<std::u16string> name;
        code = names_->next(name);
        if (!hostSucceeded(code)) break;
        if (!name) {
          code = S_FALSE;
          break;
        }
        unique_bstr text = unique_bstr::from(*name);
        if (!text) {
          code = E_OUTOFMEMORY;
          break;
        }
        elements[done] = unique_variant::fromBstr(text.detach()).detach();
      }
      if (fetched) *fetched = done;
      return code;
    });
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    return guardedCall([&]() -> HRESULT {
      for (ULONG skipped = 0; skipped < count; ++skipped) {
        std::optional<std::u16string> name;
        ResultCode code = names_->next(name);
        if (!hostSucceeded(code)) return code;
        if (!name) return S_FALSE;
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    return guardedCall([&]() -> HRESULT {
      std::shared_ptr<quorlex::IValueNameEnumerator> names;
      ResultCode code = collection_->enumerator(names);
      if (hostSucceeded(code)) names_ = std::move(names);
      return code;
    });
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
    if (out) *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  bool offers(REFIID iid) const override { return iid == IID_IEnumVARIANT; }

  std::shared_ptr<quorlex::IValueNameCollection> collection_;
  std::shared_ptr<quorlex::IValueNameEnumerator> names_;
};

// Without a portable collection it stands for a BatchVariableNames object that offers
// neither collection interface.
class ExposedValueNames final : public ExposedOver<::IValueNameCollection, quorlex::IValueNameCollection> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!portable_) return E_NOTIMPL;
    return guardedCall([&]() -> HRESULT {
      std::shared_ptr<IValueNameEnumerator> names;
      ResultCode code = portable_->enumerator(names);
      if (!hostSucceeded(code)) return reply(code);
      *out = std::make_unique<ExposedNameEnumerator>(portable_, std::move(names)).release();
      return S_OK;
    });
  }
};

class ExposedSetupData final : public ExposedOver<::IReleaseSetupData, quorlex::IReleaseSetupData> {
 public:
  using ExposedOver::ExposedOver;
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override { return text(&PortableType::name, out); }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR value) override {
    return act([&](PortableType& data) { return data.setName(textOf(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_UserName(BSTR* out) override { return text(&PortableType::userName, out); }
  HRESULT STDMETHODCALLTYPE put_UserName(BSTR value) override {
    return act([&](PortableType& data) { return data.setUserName(textOf(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_Password(BSTR* out) override { return text(&PortableType::password, out); }
  HRESULT STDMETHODCALLTYPE put_Password(BSTR value) override {
    return act([&](PortableType& data) { return data.setPassword(textOf(value)); });
  }
  HRESULT STDMETHODCALLTYPE get_DocClassName(BSTR* out) override { return text(&PortableType::docClassName, out); }
  HRESULT STDMETHODCALLTYPE get_BatchClassName(BSTR* out) override {
    return text(&PortableType::batchClassName, out);
  }
  HRESULT STDMETHODCALLTYPE get_CustomProperties(::ICustomProperties** out) override {
    return child<ExposedCustomProperties>(
        IID_ICustomProperties, [](PortableType& data, auto& item) { return data.customProperties(item); }, out);
  }
  HRESULT STDMETHODCALLTYPE get_Links(::ILinks** out) override {
    return child<ExposedLinks>(IID_ILinks, [](PortableType& data, auto& item) { return data.links(item); }, out);
  }
  HRESULT STDMETHODCALLTYPE get_IndexFields(::IIndexFields** out) override {
    return child<ExposedIndexFields>(
        IID_IIndexFields, [](PortableType& data, auto& item) { return data.indexFields(item); }, out);
  }
  HRESULT STDMETHODCALLTYPE get_BatchVariableNames(IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    return guardedCall([&]() -> HRESULT {
      std::shared_ptr<quorlex::IValueNameCollection> names;
      ResultCode code = portable_->batchVariableNames(names);
      if (!hostSucceeded(code)) return reply(code);
      const IID* offered = names ? &IID_IValueNameCollection : nullptr;
      return expose<ExposedValueNames>(IID_IValueNameCollection, offered, std::move(names), out);
    });
  }
  HRESULT STDMETHODCALLTYPE Apply() override {
    return act([](PortableType& data) { return data.apply(); });
  }
};

}  // namespace

HRESULT exposeReleaseData(std::shared_ptr<quorlex::IReleaseData> data, com_ptr<IDispatch>& out) {
  if (!data) return E_POINTER;
  IDispatch* object = nullptr;
  HRESULT code = expose<ExposedReleaseData>(IID_IReleaseData, std::move(data), &object);
  out = com_ptr<IDispatch>::attach(object);
  return code;
}

HRESULT exposeSetupData(std::shared_ptr<quorlex::IReleaseSetupData> data, com_ptr<IDispatch>& out) {
  if (!data) return E_POINTER;
  IDispatch* object = nullptr;
  HRESULT code = expose<ExposedSetupData>(IID_IReleaseSetupData, std::move(data), &object);
  out = com_ptr<IDispatch>::attach(object);
  return code;
}

}  // namespace quorlex
