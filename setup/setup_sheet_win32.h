#pragma once
// The setup sheet as a Win32 window: modal, top-level, owned by the calling thread's active
// window (or none), the pages listed by title in a list box at the left, the shown page to
// its right, OK and Cancel at the bottom right. The page hooks run in a PageSequence; this
// window only turns clicks and keys into its calls and shows the page it says is shown.

#include <windows.h>

#include "setup/setup_sheet.h"

namespace quorlex {

class Win32SetupSheet final : public ISetupSheet {
 public:
  // module holds the page templates, the strings and the grid's window class.
  explicit Win32SetupSheet(HMODULE module) : module_(module) {}
  bool runModal(const SetupSheetLayout& layout, const SetupSheetPages& pages) override;

 private:
  HMODULE module_;
};

}  // namespace quorlex
