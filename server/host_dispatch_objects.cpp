#include "server/host_dispatch_objects.h"

#include <atomic>
#include <new>

#include "common/unique_bstr.h"
#include "common/unique_variant.h"
#include "resources/quorlex_h.h"
#include "server/type_library_com.h"

namespace quorlex {
namespace {

// Runs one operation of a portable object; no exception leaves it.
template <class Operation>
HRESULT guarded(Operation&& operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// Reference counting and IDispatch through the interface's type information. offered is
// the interface id QueryInterface answers besides IUnknown and IDispatch; null for an
// object that offers no interface of its own.
template <class Interface>
class ExposedObject : public Interface {
 public:
  ExposedObject(const IID* offered, com_ptr<ITypeInfo> typeInfo) : offered_(offered), typeInfo_(std::move(typeInfo)) {}
  virtual ~ExposedObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || (offered_ && iid == *offered_)) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) std::unique_ptr<ExposedObject> destroy(this);
    return left;
  }

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
  HRESULT replyText(ResultCode code, const std::u16string& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!hostSucceeded(code)) return reply(code);
    return copyToBstr(text, out);
  }
  HRESULT replyNumber(ResultCode code, std::int32_t number, LONG* out) {
    if (!out) return E_POINTER;
    if (hostSucceeded(code)) *out = number;
    return reply(code);
  }

 private:
  const IID* offered_;
  com_ptr<ITypeInfo> typeInfo_;
  std::atomic<ULONG> references_{1};
  HRESULT positiveCode_ = S_OK;
};

// Creates the exposed object Exposed over the portable object and hands out its Interface.
template <class Exposed, class Interface, class Portable>
HRESULT expose(const IID& typeId, const IID* offered, std::shared_ptr<Portable> portable, Interface** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  com_ptr<ITypeInfo> typeInfo;
  HRESULT code = ownTypeInfo(typeId, typeInfo);
  if (FAILED(code)) return code;
  return guarded([&]() -> HRESULT {
    *out = std::make_unique<Exposed>(offered, std::move(typeInfo), std::move(portable)).release();
    return S_OK;
  });
}

template <class Exposed, class Interface, class Portable>
HRESULT expose(const IID& id, std::shared_ptr<Portable> portable, Interface** out) {
  return expose<Exposed>(id, &id, std::move(portable), out);
}

std::u16string textOf(BSTR text) { return std::u16string(unique_bstr::view(text)); }

class ExposedCustomProperty final : public ExposedObject<::ICustomProperty> {
 public:
  ExposedCustomProperty(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::ICustomProperty> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->value(text), text, out);
    });
  }

 private:
  std::shared_ptr<quorlex::ICustomProperty> portable_;
};

class ExposedCustomProperties final : public ExposedObject<::ICustomProperties> {
 public:
  ExposedCustomProperties(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::ICustomProperties> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Item(BSTR name, ::ICustomProperty** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::ICustomProperty> item;
      ResultCode code = portable_->item(textOf(name), item);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedCustomProperty>(IID_ICustomProperty, std::move(item), out);
    });
  }
  HRESULT STDMETHODCALLTYPE Remove(BSTR name) override {
    return guarded([&]() -> HRESULT { return reply(portable_->remove(textOf(name))); });
  }
  HRESULT STDMETHODCALLTYPE Add(BSTR name, BSTR value) override {
    return guarded([&]() -> HRESULT { return reply(portable_->add(textOf(name), textOf(value))); });
  }

 private:
  std::shared_ptr<quorlex::ICustomProperties> portable_;
};

class ExposedRowValue final : public ExposedObject<::IRowValue> {
 public:
  ExposedRowValue(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IRowValue> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->value(text), text, out);
    });
  }

 private:
  std::shared_ptr<quorlex::IRowValue> portable_;
};

// Without a portable object it stands for a RowValues object lacking IRowValues.
class ExposedRowValues final : public ExposedObject<::IRowValues> {
 public:
  ExposedRowValues(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IRowValues> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
    if (!portable_) return E_NOTIMPL;
    return guarded([&]() -> HRESULT {
      std::int32_t count = 0;
      ResultCode code = portable_->count(count);
      return replyNumber(code, count, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG row, ::IRowValue** out) override {
    if (!portable_) return E_NOTIMPL;
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IRowValue> item;
      ResultCode code = portable_->item(row, item);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedRowValue>(IID_IRowValue, std::move(item), out);
    });
  }

 private:
  std::shared_ptr<quorlex::IRowValues> portable_;
};

class ExposedValue final : public ExposedObject<::IValue> {
 public:
  ExposedValue(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IValue> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Destination(BSTR* out) override { return text(&quorlex::IValue::destination, out); }
  HRESULT STDMETHODCALLTYPE get_Value(BSTR* out) override { return text(&quorlex::IValue::value, out); }
  HRESULT STDMETHODCALLTYPE get_TableName(BSTR* out) override { return text(&quorlex::IValue::tableName, out); }
  HRESULT STDMETHODCALLTYPE get_RowValues(LONG key, IDispatch** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IRowValues> rows;
      ResultCode code = portable_->rowValues(key, rows);
      if (!hostSucceeded(code)) return reply(code);
      const IID* offered = rows ? &IID_IRowValues : nullptr;
      ::IRowValues* object = nullptr;
      code = expose<ExposedRowValues>(IID_IRowValues, offered, std::move(rows), &object);
      *out = object;
      return code;
    });
  }

 private:
  HRESULT text(ResultCode (quorlex::IValue::*read)(std::u16string&), BSTR* out) {
    return guarded([&]() -> HRESULT {
      std::u16string value;
      return replyText(((*portable_).*read)(value), value, out);
    });
  }
  std::shared_ptr<quorlex::IValue> portable_;
};

class ExposedValues final : public ExposedObject<::IValues> {
 public:
  ExposedValues(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IValues> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
    return guarded([&]() -> HRESULT {
      std::int32_t count = 0;
      ResultCode code = portable_->count(count);
      return replyNumber(code, count, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG position, ::IValue** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IValue> item;
      ResultCode code = portable_->item(position, item);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedValue>(IID_IValue, std::move(item), out);
    });
  }

 private:
  std::shared_ptr<quorlex::IValues> portable_;
};

class ExposedReleaseData final : public ExposedObject<::IReleaseData> {
 public:
  ExposedReleaseData(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IReleaseData> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_UserName(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->userName(text), text, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Password(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->password(text), text, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_CustomProperties(::ICustomProperties** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::ICustomProperties> properties;
      ResultCode code = portable_->customProperties(properties);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedCustomProperties>(IID_ICustomProperties, std::move(properties), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Values(::IValues** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IValues> values;
      ResultCode code = portable_->values(values);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedValues>(IID_IValues, std::move(values), out);
    });
  }
  HRESULT STDMETHODCALLTYPE LogError(LONG err1, LONG err2, LONG err3, BSTR errorMessage, BSTR codeModule,
                                     LONG lineNumber) override {
    return guarded([&]() -> HRESULT {
      return reply(portable_->logError(err1, err2, err3, textOf(errorMessage), textOf(codeModule), lineNumber));
    });
  }
  // windows.h spells SendMessage as SendMessageW here and in the interface alike.
  HRESULT STDMETHODCALLTYPE SendMessage(BSTR messageString, LONG errorNumber, LONG infoRet) override {
    return guarded([&]() -> HRESULT { return reply(portable_->sendMessage(textOf(messageString), errorNumber, infoRet)); });
  }

 private:
  std::shared_ptr<quorlex::IReleaseData> portable_;
};

class ExposedLink final : public ExposedObject<::ILink> {
 public:
  ExposedLink(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::ILink> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Source(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->source(text), text, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_SourceType(::KfxLinkSourceType* out) override {
    if (!out) return E_POINTER;
    return guarded([&]() -> HRESULT {
      std::int32_t type = 0;
      ResultCode code = portable_->sourceType(type);
      if (hostSucceeded(code)) *out = static_cast<::KfxLinkSourceType>(type);
      return reply(code);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Destination(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->destination(text), text, out);
    });
  }

 private:
  std::shared_ptr<quorlex::ILink> portable_;
};

class ExposedLinks final : public ExposedObject<::ILinks> {
 public:
  ExposedLinks(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::ILinks> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
    return guarded([&]() -> HRESULT {
      std::int32_t count = 0;
      ResultCode code = portable_->count(count);
      return replyNumber(code, count, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG position, ::ILink** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::ILink> item;
      ResultCode code = portable_->item(position, item);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedLink>(IID_ILink, std::move(item), out);
    });
  }
  HRESULT STDMETHODCALLTYPE RemoveAll() override {
    return guarded([&]() -> HRESULT { return reply(portable_->removeAll()); });
  }
  HRESULT STDMETHODCALLTYPE Add(BSTR source, ::KfxLinkSourceType sourceType, BSTR destination) override {
    return guarded([&]() -> HRESULT { return reply(portable_->add(textOf(source), sourceType, textOf(destination))); });
  }

 private:
  std::shared_ptr<quorlex::ILinks> portable_;
};

class ExposedIndexField final : public ExposedObject<::IIndexField> {
 public:
  ExposedIndexField(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IIndexField> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override {
    return guarded([&]() -> HRESULT {
      std::u16string text;
      return replyText(portable_->name(text), text, out);
    });
  }

 private:
  std::shared_ptr<quorlex::IIndexField> portable_;
};

class ExposedIndexFields final : public ExposedObject<::IIndexFields> {
 public:
  ExposedIndexFields(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IIndexFields> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override {
    return guarded([&]() -> HRESULT {
      std::int32_t count = 0;
      ResultCode code = portable_->count(count);
      return replyNumber(code, count, out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Item(LONG position, ::IIndexField** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IIndexField> item;
      ResultCode code = portable_->item(position, item);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedIndexField>(IID_IIndexField, std::move(item), out);
    });
  }

 private:
  std::shared_ptr<quorlex::IIndexFields> portable_;
};

// The value names one by one, as the portable enumerator gives them; Reset starts a new
// portable enumerator.
class ExposedNameEnumerator final : public IEnumVARIANT {
 public:
  ExposedNameEnumerator(std::shared_ptr<quorlex::IValueNameCollection> collection, std::shared_ptr<quorlex::IValueNameEnumerator> names)
      : collection_(std::move(collection)), names_(std::move(names)) {}
  virtual ~ExposedNameEnumerator() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
      *out = static_cast<IEnumVARIANT*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG left = --references_;
    if (left == 0) std::unique_ptr<ExposedNameEnumerator> destroy(this);
    return left;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* elements, ULONG* fetched) override {
    if (!elements || (count > 1 && !fetched)) return E_POINTER;
    return guarded([&]() -> HRESULT {
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
    return guarded([&]() -> HRESULT {
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
    return guarded([&]() -> HRESULT {
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
  std::shared_ptr<quorlex::IValueNameCollection> collection_;
  std::shared_ptr<quorlex::IValueNameEnumerator> names_;
  std::atomic<ULONG> references_{1};
};

// Without a portable collection it stands for a BatchVariableNames object that offers
// neither collection interface.
class ExposedValueNames final : public ExposedObject<::IValueNameCollection> {
 public:
  ExposedValueNames(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IValueNameCollection> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!portable_) return E_NOTIMPL;
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IValueNameEnumerator> names;
      ResultCode code = portable_->enumerator(names);
      if (!hostSucceeded(code)) return reply(code);
      *out = std::make_unique<ExposedNameEnumerator>(portable_, std::move(names)).release();
      return S_OK;
    });
  }

 private:
  std::shared_ptr<quorlex::IValueNameCollection> portable_;
};

class ExposedSetupData final : public ExposedObject<::IReleaseSetupData> {
 public:
  ExposedSetupData(const IID* offered, com_ptr<ITypeInfo> info, std::shared_ptr<quorlex::IReleaseSetupData> portable)
      : ExposedObject(offered, std::move(info)), portable_(std::move(portable)) {}
  HRESULT STDMETHODCALLTYPE get_Name(BSTR* out) override { return text(&quorlex::IReleaseSetupData::name, out); }
  HRESULT STDMETHODCALLTYPE put_Name(BSTR value) override { return write(&quorlex::IReleaseSetupData::setName, value); }
  HRESULT STDMETHODCALLTYPE get_UserName(BSTR* out) override { return text(&quorlex::IReleaseSetupData::userName, out); }
  HRESULT STDMETHODCALLTYPE put_UserName(BSTR value) override {
    return write(&quorlex::IReleaseSetupData::setUserName, value);
  }
  HRESULT STDMETHODCALLTYPE get_Password(BSTR* out) override { return text(&quorlex::IReleaseSetupData::password, out); }
  HRESULT STDMETHODCALLTYPE put_Password(BSTR value) override {
    return write(&quorlex::IReleaseSetupData::setPassword, value);
  }
  HRESULT STDMETHODCALLTYPE get_DocClassName(BSTR* out) override {
    return text(&quorlex::IReleaseSetupData::docClassName, out);
  }
  HRESULT STDMETHODCALLTYPE get_BatchClassName(BSTR* out) override {
    return text(&quorlex::IReleaseSetupData::batchClassName, out);
  }
  HRESULT STDMETHODCALLTYPE get_CustomProperties(::ICustomProperties** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::ICustomProperties> properties;
      ResultCode code = portable_->customProperties(properties);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedCustomProperties>(IID_ICustomProperties, std::move(properties), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_Links(::ILinks** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::ILinks> links;
      ResultCode code = portable_->links(links);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedLinks>(IID_ILinks, std::move(links), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_IndexFields(::IIndexFields** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IIndexFields> fields;
      ResultCode code = portable_->indexFields(fields);
      if (!hostSucceeded(code)) return reply(code);
      return expose<ExposedIndexFields>(IID_IIndexFields, std::move(fields), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_BatchVariableNames(IDispatch** out) override {
    return guarded([&]() -> HRESULT {
      std::shared_ptr<quorlex::IValueNameCollection> names;
      ResultCode code = portable_->batchVariableNames(names);
      if (!hostSucceeded(code)) return reply(code);
      const IID* offered = names ? &IID_IValueNameCollection : nullptr;
      ::IValueNameCollection* object = nullptr;
      code = expose<ExposedValueNames>(IID_IValueNameCollection, offered, std::move(names), &object);
      *out = object;
      return code;
    });
  }
  HRESULT STDMETHODCALLTYPE Apply() override {
    return guarded([&]() -> HRESULT { return reply(portable_->apply()); });
  }

 private:
  HRESULT text(ResultCode (quorlex::IReleaseSetupData::*read)(std::u16string&), BSTR* out) {
    return guarded([&]() -> HRESULT {
      std::u16string value;
      return replyText(((*portable_).*read)(value), value, out);
    });
  }
  HRESULT write(ResultCode (quorlex::IReleaseSetupData::*set)(const std::u16string&), BSTR value) {
    return guarded([&]() -> HRESULT { return reply(((*portable_).*set)(textOf(value))); });
  }
  std::shared_ptr<quorlex::IReleaseSetupData> portable_;
};

}  // namespace

HRESULT exposeReleaseData(std::shared_ptr<quorlex::IReleaseData> data, com_ptr<IDispatch>& out) {
  if (!data) return E_POINTER;
  ::IReleaseData* object = nullptr;
  HRESULT code = expose<ExposedReleaseData>(IID_IReleaseData, std::move(data), &object);
  out = com_ptr<IDispatch>::attach(object);
  return code;
}

HRESULT exposeSetupData(std::shared_ptr<quorlex::IReleaseSetupData> data, com_ptr<IDispatch>& out) {
  if (!data) return E_POINTER;
  ::IReleaseSetupData* object = nullptr;
  HRESULT code = expose<ExposedSetupData>(IID_IReleaseSetupData, std::move(data), &object);
  out = com_ptr<IDispatch>::attach(object);
  return code;
}

}  // namespace quorlex
