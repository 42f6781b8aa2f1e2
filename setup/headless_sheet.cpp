#include "setup/headless_sheet.h"

namespace quorlex {

bool HeadlessSheet::runModal(const SetupSheetLayout& layout, const SetupSheetPages& pages) {
  ControlTexts controls;
  pages.general.attachControls(&controls);
  auto inOrder = pages.inOrder();
  PageSequence sequence(inOrder, layout.firstPage);
  HeadlessSheetSession session{layout, pages, sequence, controls};
  bool ok = script_ ? script_(session) : false;
  pages.general.attachControls(nullptr);
  return ok;
}

}  // namespace quorlex
