#pragma once
// The own dialog's layout: every element measured with the message fonts and placed in pixels in
// one top-to-bottom pass, then turned into template items in dialog units.
//
// The widths it works with, in pixels, named alike in the code and its tests:
//   baseWidth    cxWidth turned into pixels, or half the display's width + 80 without one
//   textLimit    what texts are measured against: baseWidth less the icon's column (52) or the
//                two margins (20), widened to rowWidth + 20 when the button row is wider
//   textWidth    the text column: the widest text measured at textLimit, + 1 (a command
//                link's text counts with its glyph's room)
//   rowWidth     the row of push buttons: count × (buttonWidth + 8) − 8
//   buttonWidth, buttonHeight  of every push button (ButtonMetrics width and height)
//   dialogWidth  the client width: textRight + 10, at least rowWidth + 20
//   textLeft, textRight  the text column's edges (textLeft 52 with a main icon, else 10)

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "taskdialog/dialog_template.h"
#include "taskdialog/drawing.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

struct CommonButton {
  std::u16string_view defaultText;
  std::uint32_t bit;
  int id;
};

// In the order of the button row; index i takes its text from string resource 11005 + i.
inline constexpr std::array<CommonButton, 6> commonButtonTable = {{
    {u"OK", TDCBF_OK_BUTTON, idOk},
    {u"&Yes", TDCBF_YES_BUTTON, idYes},
    {u"&No", TDCBF_NO_BUTTON, idNo},
    {u"&Retry", TDCBF_RETRY_BUTTON, idRetry},
    {u"Cancel", TDCBF_CANCEL_BUTTON, idCancel},
    {u"&Close", TDCBF_CLOSE_BUTTON, idClose},
}};
using CommonButtonTexts = std::array<std::u16string, commonButtonTable.size()>;
CommonButtonTexts defaultCommonButtonTexts();

inline constexpr std::u16string_view defaultExpandedControlText = u"Hide &details <<";
inline constexpr std::u16string_view defaultCollapsedControlText = u"See &details >>";

// The request's texts as loaded, and their copies without link markup for measuring.
struct TaskDialogTexts {
  std::u16string title;
  std::u16string instruction;
  std::u16string content;
  std::u16string contentMeasured;
  std::u16string details;
  std::u16string detailsMeasured;
  std::u16string expandedControl;
  std::u16string collapsedControl;
  std::u16string verification;
  std::u16string footer;
  std::u16string footerMeasured;
};

struct ButtonText {
  int id = 0;
  std::u16string text;
};

struct LayoutFonts {
  FontHandle normal = nullptr;
  FontHandle large = nullptr;
};

struct LayoutInput {
  std::uint32_t flags = 0;
  std::uint32_t commonButtons = 0;
  int defaultButton = 0;
  std::uint32_t widthInDialogUnits = 0;  // cxWidth
  TaskDialogTexts texts;
  CommonButtonTexts commonButtonTexts = defaultCommonButtonTexts();
  std::vector<ButtonText> customButtons;
  std::vector<ButtonText> radioButtons;
  bool hasMainIcon = false;
  bool hasFooterIcon = false;
  bool expanded = false;
  int displayWidth = 0;  // of the monitor nearest to the owner, or of the screen
  DialogBaseUnits units;
  LayoutFonts fonts;
};

// Ids of the controls the layout made for the request's elements; −1 for each one absent.
struct ElementIds {
  int mainIcon = -1;
  int instruction = -1;
  int content = -1;
  int details = -1;
  int progressBar = -1;
  int detailsButton = -1;
  int verification = -1;
  int footerIcon = -1;
  int footer = -1;
  int defaultButton = -1;
};

struct TaskDialogLayout {
  DialogHeader header;
  std::vector<DialogItem> items;
  ElementIds ids;
  std::vector<int> commonButtonIds;      // placed, in row order (the lone OK button included)
  std::vector<int> customPushButtonIds;  // custom buttons placed as push buttons
  std::vector<int> commandLinkIds;
  std::vector<int> radioButtonIds;
  // Client y of the painted separators, −1 for each one absent.
  int sep1 = -1;
  int sep2 = -1;
  int sep3 = -1;
  Size client;
};

struct ButtonMetrics {
  int width = 0;         // of every push button
  int height = 0;        // of every push button and the details button
  int detailsWidth = 0;  // of the details button
  int highestId = 0;     // of the common buttons in use, custom and radio buttons, lone OK
};

ButtonMetrics MeasureButtons(const LayoutInput& input, ITextMeasurer& measurer, int widthLimit);

// Height of a command link whose texts are laid out textWidth pixels wide.
int MeasureCommandLink(std::u16string_view text, int textWidth, const LayoutFonts& fonts,
                       ITextMeasurer& measurer);

TaskDialogLayout BuildTaskDialogLayout(const LayoutInput& input, ITextMeasurer& measurer);

}  // namespace quorlex
