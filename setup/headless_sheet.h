#pragma once
// A setup sheet without a window, for the command-line setup and tests: the pages run in a
// PageSequence, the General page's controls are plain texts, and a session function plays
// the administrator's part and says whether the sheet closed with OK.

#include <functional>

#include "setup/dialog_controls.h"
#include "setup/page_sequence.h"
#include "setup/setup_sheet.h"

namespace quorlex {

struct HeadlessSheetSession {
  const SetupSheetLayout& layout;
  const SetupSheetPages& pages;
  PageSequence& sequence;
  ControlTexts& generalControls;
};
using HeadlessSheetScript = std::function<bool(HeadlessSheetSession&)>;

class HeadlessSheet final : public ISetupSheet {
 public:
  explicit HeadlessSheet(HeadlessSheetScript script) : script_(std::move(script)) {}
  bool runModal(const SetupSheetLayout& layout, const SetupSheetPages& pages) override;

 private:
  HeadlessSheetScript script_;
};

}  // namespace quorlex
