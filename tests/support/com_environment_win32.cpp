// Linked into a test program, runs all of its tests in one single-threaded COM apartment on
// the main thread, as the host calls the component.
#include <objbase.h>

#include <gtest/gtest.h>

namespace {

class ComEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

// GoogleTest owns the environment from here on.
[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

}  // namespace
