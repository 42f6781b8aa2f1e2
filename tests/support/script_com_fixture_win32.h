#pragma once
// The fixture of the script objects' COM tests: one script object made as the class object
// makes it, held through its dual interface and through IDispatch in a COM apartment, an
// in-memory host for its data object, and calls made as a late-bound host makes them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "common/com_apartment.h"
#include "common/com_ptr.h"
#include "server/module_lock.h"
#include "testhost/memory_host.h"
#include "tests/support/script_invoke_win32.h"

namespace quorlex::test_support {

using ScriptCreator = HRESULT (*)(IUnknown* outer, com_ptr<IUnknown>& out);

template <typename Interface, ScriptCreator create>
class ScriptComTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(apartment.result()));
    com_ptr<IUnknown> instance;
    ASSERT_EQ(create(nullptr, instance), S_OK);
    ASSERT_EQ(instance.query(script), S_OK);
    ASSERT_EQ(instance.query(dispatch), S_OK);
  }

  HRESULT invoke(DISPID member, WORD flags, std::vector<VARIANT> arguments, VARIANT* result,
                 std::vector<DISPID> named = {}) {
    return invokeScript(*dispatch.get(), member, flags, std::move(arguments), result, std::move(named));
  }
  static VARIANT object(IDispatch* value) { return objectArgument(value); }

  // Each member name gives its fixed dispatch id.
  void expectDispatchIds(std::initializer_list<std::pair<const wchar_t*, DISPID>> members) {
    for (const auto& [member, expected] : members) {
      LPOLESTR name = const_cast<LPOLESTR>(member);
      DISPID id = 0;
      EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK) << expected;
      EXPECT_EQ(id, expected);
    }
  }

  // Another object of the class holds the module for exactly its life.
  void expectAnotherObjectHoldsTheModule() {
    const long before = moduleLockCount();
    com_ptr<IUnknown> another;
    ASSERT_EQ(create(nullptr, another), S_OK);
    EXPECT_EQ(moduleLockCount(), before + 1);
    another = nullptr;
    EXPECT_EQ(moduleLockCount(), before);
  }

  // The data object property through Invoke: set with flags (by reference or by plain
  // assignment), then read back as the very object set.
  void setAndReadDataObject(DISPID property, WORD flags, IDispatch* data) {
    ASSERT_EQ(invoke(property, flags, {object(data)}, nullptr, {DISPID_PROPERTYPUT}), S_OK);
    VARIANT read;
    VariantInit(&read);
    ASSERT_EQ(invoke(property, DISPATCH_PROPERTYGET, {}, &read), S_OK);
    ASSERT_EQ(V_VT(&read), VT_DISPATCH);
    EXPECT_EQ(V_DISPATCH(&read), data);
    VariantClear(&read);
  }

  ComApartment apartment;
  MemoryHost host;
  com_ptr<Interface> script;
  com_ptr<IDispatch> dispatch;
};

}  // namespace quorlex::test_support
