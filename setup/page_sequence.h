#pragma once
// The page hooks in the order a modal property sheet calls them, for every sheet (the
// window on Windows, the command-line setup and tests): the first page is shown at once;
// choosing a page leaves the shown one first; OK leaves the shown page, then gives every
// initialised page its OK processing in page order; Cancel calls no hook at all.

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "setup/setup_page.h"

namespace quorlex {

// The keys a sheet reads for switching pages: Ctrl+Tab and Ctrl+PageDown step forward,
// Ctrl+Shift+Tab and Ctrl+PageUp back.
enum class SheetKey { tab, pageDown, pageUp, other };
// Forward (true) or back (false); none when the key switches no page.
std::optional<bool> pageStepForKey(SheetKey key, bool control, bool shift);

class PageSequence {
 public:
  explicit PageSequence(std::span<ISetupPage* const> pages, std::size_t firstPage = 0);

  std::size_t shownPage() const { return shown_; }
  bool isInitialised(std::size_t page) const { return initialised_[page]; }
  // False, and the shown page stays, when that page refuses to be left.
  bool show(std::size_t page);
  // The next page (forward) or the previous one, round the ends; false as for show.
  bool step(bool forward);
  // False, and the sheet stays open, when the shown page refuses to be left.
  bool pressOk();

 private:
  void activate(std::size_t page);

  std::vector<ISetupPage*> pages_;
  std::vector<bool> initialised_;
  std::size_t shown_ = 0;
};

}  // namespace quorlex
