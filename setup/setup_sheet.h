#pragma once
// The setup sheet as the setup script runs it, and what the script needs from the
// platform's user interface for one RunUI.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "setup/general_page.h"
#include "setup/mapping_page.h"
#include "setup/question_dialog.h"
#include "setup/version_text.h"

namespace quorlex {

// A modal sheet with OK and Cancel and no Apply button, its pages listed by title in a list
// down the left side instead of tabs, the first page shown first, no explicit owner.
struct SetupSheetLayout {
  std::u16string caption;
  std::int32_t pageListWidth = 100;  // pixels
  bool applyButton = false;
  std::size_t firstPage = 0;
};

// The two pages, in the order they are added to the sheet.
struct SetupSheetPages {
  CPropertyPageSetupGeneral& general;
  CPropertyPageSetupMapping& mapping;
  std::array<ISetupPage*, 2> inOrder() const { return {&general, &mapping}; }
};

class ISetupSheet {
 public:
  virtual ~ISetupSheet() = default;
  // Runs the sheet until it closes; true when it closed with OK. By then every page that
  // was initialised has had its OK processing.
  virtual bool runModal(const SetupSheetLayout& layout, const SetupSheetPages& pages) = 0;
};

class ISetupPlatform {
 public:
  virtual ~ISetupPlatform() = default;
  // None when no sheet can be made.
  virtual std::unique_ptr<ISetupSheet> createSheet() = 0;
  // The dialog for one required-mapping question; none when none can be made.
  virtual std::unique_ptr<IQuestionDialog> createQuestionDialog() = 0;
  virtual IVersionSource& versionSource() = 0;
};

}  // namespace quorlex
