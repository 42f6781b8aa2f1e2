#pragma once
// The setup sheet as the UI tests drive it: shown on the test's thread while the administrator
// is played on another, which page is shown, and a page chosen the way a click on its entry
// chooses it.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "common/com_apartment.h"
#include "setup/dialog_controls.h"
#include "tests/support/window_driver_win32.h"

namespace quorlex::test_support {

inline HWND pageList(HWND sheet) { return descendantOfClass(sheet, L"ListBox"); }

inline LRESULT shownPageIndex(HWND sheet) { return SendMessageW(pageList(sheet), LB_GETCURSEL, 0, 0); }

// A click on an entry of the page list: the selection moves, the list tells the sheet.
inline void choosePage(HWND sheet, int page) {
  HWND list = pageList(sheet);
  (void)SendMessageW(list, LB_SETCURSEL, page, 0);
  (void)PostMessageW(sheet, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

inline const std::wstring sheetCaption = L"Tressaly Export Connector for AS400 Setup";

// show runs the sheet's modal loop on this thread while drive plays the administrator on
// another; drive gets the sheet and must close it. A sheet still open afterwards is closed,
// and that fails.
inline void driveSheet(const std::function<void(HWND)>& drive, const std::function<void()>& show) {
  std::thread driver([&] {
    ComApartment apartment;  // for the pictures
    HWND sheet = waitForWindow(sheetCaption, L"#32770");
    if (!sheet) {
      ADD_FAILURE() << "no setup sheet appeared";
      return;
    }
    drive(sheet);
    if (!waitForClose(sheet)) {
      ADD_FAILURE() << "the sheet stayed open";
      (void)PostMessageW(sheet, WM_CLOSE, 0, 0);
    }
  });
  show();
  driver.join();
}

inline bool mappingPageShown(HWND sheet) { return visibleControl(sheet, mappingControl::gridFrame) != nullptr; }

}  // namespace quorlex::test_support
