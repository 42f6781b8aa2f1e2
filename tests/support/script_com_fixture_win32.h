#pragma once
// The fixture of the script objects' COM tests: one script object made as the class object
// makes it, held through its dual interface and through IDispatch in a COM apartment, an
// in-memory host for its data object, and calls made as a late-bound host makes them.

#include <gtest/gtest.h>

#include <vector>

#include "common/com_apartment.h"
#include "common/com_ptr.h"
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

  ComApartment apartment;
  MemoryHost host;
  com_ptr<Interface> script;
  com_ptr<IDispatch> dispatch;
};

}  // namespace quorlex::test_support
