#include "server/host_dispatch_adapters.h"

#include "common/unique_variant.h"
#include "resources/quorlex_h.h"
#include "server/dispatch_call.h"

namespace quorlex {
namespace {

// Every adapter keeps the host's object it speaks to.
class DispatchAdapter {
 public:
  explicit DispatchAdapter(com_ptr<IDispatch> object) : host_(std::move(object)) {}
  virtual ~DispatchAdapter() = default;
  IDispatch* hostObject() const { return host_.get(); }

 protected:
  // Item(position) and the like: an object member wrapped in the adapter Adapter.
  template <class Adapter, class Interface>
  ResultCode getAdapted(const char16_t* member, std::shared_ptr<Interface>& out, DispatchArguments arguments = {}) {
    com_ptr<IDispatch> object;
    ResultCode code = host_.getObject(member, object, std::move(arguments));
    if (hostSucceeded(code)) out = std::make_shared<Adapter>(std::move(object));
    return code;
  }

  DispatchObject host_;
};

// A collection with Count and Item(position), its items adapted by ItemAdapter.
template <class Collection, class ItemAdapter, class Item>
class CollectionAdapter : public Collection, protected DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode count(std::int32_t& out) override { return host_.getNumber(u"Count", out); }
  ResultCode item(std::int32_t position, std::shared_ptr<Item>& out) override {
    return getAdapted<ItemAdapter>(u"Item", out, dispatchArguments(numberArgument(position)));
  }
};

class CustomPropertyAdapter final : public ICustomProperty, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode value(std::u16string& out) override { return host_.getText(u"Value", out); }
};

class CustomPropertiesAdapter final : public ICustomProperties, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode item(const std::u16string& name, std::shared_ptr<ICustomProperty>& out) override {
    return getAdapted<CustomPropertyAdapter>(u"Item", out, dispatchArguments(textArgument(name)));
  }
  ResultCode remove(const std::u16string& name) override {
    return host_.call(u"Remove", dispatchArguments(textArgument(name)));
  }
  ResultCode add(const std::u16string& name, const std::u16string& value) override {
    return host_.call(u"Add", dispatchArguments(textArgument(name), textArgument(value)));
  }
};

class RowValueAdapter final : public IRowValue, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode value(std::u16string& out) override { return host_.getText(u"Value", out); }
};

using RowValuesAdapter = CollectionAdapter<IRowValues, RowValueAdapter, IRowValue>;

class ValueAdapter final : public IValue, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode destination(std::u16string& out) override { return host_.getText(u"Destination", out); }
  ResultCode value(std::u16string& out) override { return host_.getText(u"Value", out); }
  ResultCode tableName(std::u16string& out) override { return host_.getText(u"TableName", out); }

  ResultCode rowValues(std::int32_t key, std::shared_ptr<IRowValues>& out) override {
    com_ptr<IDispatch> object;
    ResultCode code = host_.getObject(u"RowValues", object, dispatchArguments(unique_variant::fromInt(key)));
    if (!hostSucceeded(code)) return code;
    // The rows are read through the object's IRowValues side; without it there are none.
    com_ptr<IDispatch> rows;
    if (FAILED(object.query(IID_IRowValues, rows))) {
      out = nullptr;
      return resultOk;
    }
    out = std::make_shared<RowValuesAdapter>(std::move(rows));
    return resultOk;
  }
};

using ValuesAdapter = CollectionAdapter<IValues, ValueAdapter, IValue>;

class ReleaseDataAdapter final : public IReleaseData, public DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode userName(std::u16string& out) override { return host_.getText(u"UserName", out); }
  ResultCode password(std::u16string& out) override { return host_.getText(u"Password", out); }
  ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) override {
    return getAdapted<CustomPropertiesAdapter>(u"CustomProperties", out);
  }
  ResultCode values(std::shared_ptr<IValues>& out) override { return getAdapted<ValuesAdapter>(u"Values", out); }

  ResultCode logError(std::int32_t err1, std::int32_t err2, std::int32_t err3, const std::u16string& errorMessage,
                      const std::u16string& codeModule, std::int32_t lineNumber) override {
    return host_.call(u"LogError",
                      dispatchArguments(numberArgument(err1), numberArgument(err2), numberArgument(err3),
                                        textArgument(errorMessage), textArgument(codeModule), numberArgument(lineNumber)));
  }
  ResultCode sendMessage(const std::u16string& messageString, std::int32_t errorNumber, std::int32_t infoRet) override {
    return host_.call(u"SendMessage",
                      dispatchArguments(textArgument(messageString), numberArgument(errorNumber), numberArgument(infoRet)));
  }
};

class LinkAdapter final : public ILink, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode source(std::u16string& out) override { return host_.getText(u"Source", out); }
  ResultCode sourceType(std::int32_t& out) override { return host_.getNumber(u"SourceType", out); }
  ResultCode destination(std::u16string& out) override { return host_.getText(u"Destination", out); }
};

class LinksAdapter final : public CollectionAdapter<ILinks, LinkAdapter, ILink> {
 public:
  using CollectionAdapter::CollectionAdapter;
  ResultCode removeAll() override { return host_.call(u"RemoveAll"); }
  ResultCode add(const std::u16string& source, std::int32_t sourceType, const std::u16string& destination) override {
    return host_.call(u"Add",
                      dispatchArguments(textArgument(source), numberArgument(sourceType), textArgument(destination)));
  }
};

class IndexFieldAdapter final : public IIndexField, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode name(std::u16string& out) override { return host_.getText(u"Name", out); }
};

using IndexFieldsAdapter = CollectionAdapter<IIndexFields, IndexFieldAdapter, IIndexField>;

class ValueNameEnumeratorAdapter final : public IValueNameEnumerator {
 public:
  explicit ValueNameEnumeratorAdapter(com_ptr<IEnumVARIANT> enumerator) : enumerator_(std::move(enumerator)) {}

  ResultCode next(std::optional<std::u16string>& out) override {
    unique_variant element;
    ULONG fetched = 0;
    HRESULT code = enumerator_->Next(1, element.put(), &fetched);
    // S_FALSE is the enumerator's end, not a failure.
    if (code == S_FALSE || (code == S_OK && fetched == 0)) {
      out.reset();
      return resultOk;
    }
    if (code != S_OK) return code;
    std::u16string name;
    ResultCode converted = variantText(*element.get(), name);
    if (!hostSucceeded(converted)) return converted;
    out = std::move(name);
    return resultOk;
  }

 private:
  com_ptr<IEnumVARIANT> enumerator_;
};

class ValueNameCollectionAdapter final : public IValueNameCollection, DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode enumerator(std::shared_ptr<IValueNameEnumerator>& out) override {
    DispatchArguments none;
    unique_variant result;
    ResultCode code = host_.invoke(DISPID_NEWENUM, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none, &result);
    if (!hostSucceeded(code)) return code;
    VARTYPE type = result.type();
    IUnknown* object = type == VT_UNKNOWN ? V_UNKNOWN(result.get()) : type == VT_DISPATCH ? V_DISPATCH(result.get()) : nullptr;
    if (!object) return type == VT_UNKNOWN || type == VT_DISPATCH ? E_POINTER : DISP_E_TYPEMISMATCH;
    com_ptr<IEnumVARIANT> enumerator;
    code = object->QueryInterface(IID_IEnumVARIANT, enumerator.put_void());
    if (FAILED(code)) return code;
    out = std::make_shared<ValueNameEnumeratorAdapter>(std::move(enumerator));
    return resultOk;
  }
};

class ReleaseSetupDataAdapter final : public IReleaseSetupData, public DispatchAdapter {
 public:
  using DispatchAdapter::DispatchAdapter;
  ResultCode name(std::u16string& out) override { return host_.getText(u"Name", out); }
  ResultCode setName(const std::u16string& value) override { return host_.putText(u"Name", value); }
  ResultCode userName(std::u16string& out) override { return host_.getText(u"UserName", out); }
  ResultCode setUserName(const std::u16string& value) override { return host_.putText(u"UserName", value); }
  ResultCode password(std::u16string& out) override { return host_.getText(u"Password", out); }
  ResultCode setPassword(const std::u16string& value) override { return host_.putText(u"Password", value); }
  ResultCode docClassName(std::u16string& out) override { return host_.getText(u"DocClassName", out); }
  ResultCode batchClassName(std::u16string& out) override { return host_.getText(u"BatchClassName", out); }
  ResultCode customProperties(std::shared_ptr<ICustomProperties>& out) override {
    return getAdapted<CustomPropertiesAdapter>(u"CustomProperties", out);
  }
  ResultCode links(std::shared_ptr<ILinks>& out) override { return getAdapted<LinksAdapter>(u"Links", out); }
  ResultCode indexFields(std::shared_ptr<IIndexFields>& out) override {
    return getAdapted<IndexFieldsAdapter>(u"IndexFields", out);
  }

  ResultCode batchVariableNames(std::shared_ptr<IValueNameCollection>& out) override {
    com_ptr<IDispatch> object;
    ResultCode code = host_.getObject(u"BatchVariableNames", object);
    if (!hostSucceeded(code)) return code;
    // The host offers its names through one of two collection interfaces, in this order.
    com_ptr<IDispatch> collection;
    if (FAILED(object.query(IID_IValueNameCollection, collection)) &&
        FAILED(object.query(IID_IValueNameCollectionAlternate, collection))) {
      out = nullptr;
      return resultOk;
    }
    out = std::make_shared<ValueNameCollectionAdapter>(std::move(collection));
    return resultOk;
  }

  ResultCode apply() override { return host_.call(u"Apply"); }
};

}  // namespace

std::shared_ptr<IReleaseData> releaseDataOverDispatch(com_ptr<IDispatch> object) {
  if (!object) return nullptr;
  return std::make_shared<ReleaseDataAdapter>(std::move(object));
}

std::shared_ptr<IReleaseSetupData> setupDataOverDispatch(com_ptr<IDispatch> object) {
  if (!object) return nullptr;
  return std::make_shared<ReleaseSetupDataAdapter>(std::move(object));
}

IDispatch* hostObjectOf(const IReleaseData& data) {
  auto* adapter = dynamic_cast<const DispatchAdapter*>(&data);
  return adapter ? adapter->hostObject() : nullptr;
}

IDispatch* hostObjectOf(const IReleaseSetupData& data) {
  auto* adapter = dynamic_cast<const DispatchAdapter*>(&data);
  return adapter ? adapter->hostObject() : nullptr;
}

}  // namespace quorlex
