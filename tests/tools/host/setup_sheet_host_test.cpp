// quorlex-host.exe setup as an administrator meets it: the registered component's real
// sheet, shown through COM by another process, filled in and closed by this program, which
// knows only captions, classes, control ids and keys; then the host file.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "common/unique_handle.h"
#include "tests/support/window_driver_win32.h"

namespace quorlex {
namespace {

using namespace test_support;
namespace fs = std::filesystem;

const std::wstring sheetCaption = L"Tressaly Export Connector for AS400 Setup";

fs::path binFolder() {
  std::wstring path(MAX_PATH * 4, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return fs::path(path).parent_path();
}

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A program started with its output and errors in files; its exit status once it ends.
class Program {
 public:
  Program(const std::wstring& arguments, const fs::path& output, const fs::path& errors) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    auto create = [&](const fs::path& path) {
      return unique_handle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    out_ = create(output);
    err_ = create(errors);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out_.get();
    startup.hStdError = err_.get();
    std::wstring command = L"\"" + (binFolder() / L"quorlex-host.exe").wstring() + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
      process_ = unique_handle(process.hProcess);
      unique_handle thread(process.hThread);
    }
  }

  DWORD wait() {
    if (!process_) return 0xFFFFFFFF;
    (void)WaitForSingleObject(process_.get(), 60000);
    DWORD status = 0xFFFFFFFF;
    (void)GetExitCodeProcess(process_.get(), &status);
    out_.reset();
    err_.reset();
    return status;
  }

 private:
  unique_handle process_, out_, err_;
};

DWORD regsvr32(const std::wstring& options) {
  std::wstring command = L"regsvr32.exe /s " + options + L" \"" + (binFolder() / L"quorlex.dll").wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return 0xFFFFFFFF;
  }
  unique_handle processHandle(process.hProcess), threadHandle(process.hThread);
  (void)WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD status = 0xFFFFFFFF;
  (void)GetExitCodeProcess(processHandle.get(), &status);
  return status;
}

class HostSetupSheet : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(regsvr32(L""), 0u); }
  static void TearDownTestSuite() { (void)regsvr32(L"/u"); }

  void SetUp() override {
    folder = fs::temp_directory_path() / L"quorlex-host-setup";
    fs::create_directories(folder);
    file = folder / L"invoices.json";
    fs::copy_file(fs::path(QUORLEX_EXAMPLES_DIR) / L"invoices.json", file, fs::copy_options::overwrite_existing);
    original = fileText(file);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  DWORD runSetup(const std::wstring& options, const std::function<void(HWND)>& drive = {}) {
    Program host(L"setup \"" + file.wstring() + L"\"" + options, folder / L"out.txt", folder / L"err.txt");
    if (drive) {
      HWND sheet = waitForWindow(sheetCaption, L"#32770", 20s);
      EXPECT_NE(sheet, nullptr) << "no setup sheet appeared";
      if (sheet) {
        drive(sheet);
        EXPECT_TRUE(waitForClose(sheet));
      }
    }
    DWORD status = host.wait();
    output = fileText(folder / L"out.txt");
    errors = fileText(folder / L"err.txt");
    return status;
  }

  fs::path folder, file;
  std::string original, output, errors;
};

TEST_F(HostSetupSheet, OkStoresWhatWasTypedOnTheSheet) {
  DWORD status = runSetup(L" --show", [](HWND sheet) {
    HWND instance = visibleControl(sheet, 11002);
    ASSERT_NE(instance, nullptr);
    setWindowText(instance, L"Invoices via the sheet");
    setWindowText(visibleControl(sheet, 11024), L"QUORLEX");
    setWindowText(visibleControl(sheet, 11025), L"s3cret");
    (void)SetForegroundWindow(sheet);
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == sheet; }));
    pressKey(VK_TAB, true);  // to "Data Mapping", leaving the General page
    EXPECT_TRUE(waitUntil([&] { return visibleControl(sheet, 11055) != nullptr; }));
    click(GetDlgItem(sheet, IDOK));
  });
  EXPECT_EQ(status, 0u) << errors;
  std::string stored = fileText(file);
  EXPECT_NE(stored.find("\"Invoices via the sheet\""), std::string::npos) << stored;
  EXPECT_NE(stored.find("\"s3cret\""), std::string::npos);
  EXPECT_NE(stored.find("\"QUORLEX\""), std::string::npos);
  EXPECT_NE(output.find("Invoices via the sheet"), std::string::npos) << output;
  EXPECT_EQ(output.find("s3cret"), std::string::npos);  // --show masks the password
}

TEST_F(HostSetupSheet, CancelEscapeAndTheCloseBoxLeaveTheFileAsItWas) {
  struct Close {
    const char* how;
    std::function<void(HWND)> close;
  };
  const Close closes[] = {
      {"Cancel", [](HWND sheet) { click(GetDlgItem(sheet, IDCANCEL)); }},
      {"Escape", [](HWND sheet) {
         (void)SetForegroundWindow(sheet);
         (void)waitUntil([&] { return GetForegroundWindow() == sheet; });
         pressKey(VK_ESCAPE);
       }},
      {"close box", [](HWND sheet) { (void)PostMessageW(sheet, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Close& c : closes) {
    DWORD status = runSetup(L"", [&](HWND sheet) {
      setWindowText(visibleControl(sheet, 11002), L"not to be stored");
      c.close(sheet);
    });
    EXPECT_EQ(status, 0u) << c.how << errors;
    EXPECT_EQ(fileText(file), original) << c.how;
  }
}

TEST_F(HostSetupSheet, ChangesOnTheCommandLineAndBadFilesAreRefused) {
  EXPECT_EQ(runSetup(L" --set Name=x"), 2u);
  EXPECT_NE(errors.find("Linux quorlex-host"), std::string::npos) << errors;
  EXPECT_EQ(runSetup(L" --map PARM1=none"), 2u);
  EXPECT_EQ(fileText(file), original);

  fs::path missing = folder / L"missing.json";
  Program host(L"setup \"" + missing.wstring() + L"\"", folder / L"out.txt", folder / L"err.txt");
  EXPECT_EQ(host.wait(), 2u);
  std::string message = fileText(folder / L"err.txt");
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}

}  // namespace
}  // namespace quorlex
