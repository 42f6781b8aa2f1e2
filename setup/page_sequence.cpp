#include "setup/page_sequence.h"

namespace quorlex {

PageSequence::PageSequence(std::span<ISetupPage* const> pages, std::size_t firstPage)
    : pages_(pages.begin(), pages.end()), initialised_(pages.size(), false) {
  if (firstPage < pages_.size()) activate(firstPage);
}

void PageSequence::activate(std::size_t page) {
  if (!initialised_[page]) {
    initialised_[page] = true;
    (void)pages_[page]->onInitDialog();
  }
  (void)pages_[page]->onSetActive();
  shown_ = page;
}

bool PageSequence::show(std::size_t page) {
  if (page >= pages_.size()) return false;
  if (page == shown_) return true;
  if (!pages_[shown_]->onKillActive()) return false;
  activate(page);
  return true;
}

bool PageSequence::step(bool forward) {
  if (pages_.empty()) return false;
  std::size_t count = pages_.size();
  return show(forward ? (shown_ + 1) % count : (shown_ + count - 1) % count);
}

std::optional<bool> pageStepForKey(SheetKey key, bool control, bool shift) {
  if (!control) return std::nullopt;
  switch (key) {
    case SheetKey::tab: return !shift;
    case SheetKey::pageDown: return true;
    case SheetKey::pageUp: return false;
    case SheetKey::other: break;
  }
  return std::nullopt;
}

bool PageSequence::pressOk() {
  if (pages_.empty()) return true;
  if (!pages_[shown_]->onKillActive()) return false;
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    if (initialised_[page]) pages_[page]->onOK();
  }
  return true;
}

}  // namespace quorlex
