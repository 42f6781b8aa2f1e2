#pragma once
// The task-dialog request record with its flag and button codes, the callback's notification
// codes, the messages a callback may send to the dialog, and text-or-id values. On Windows the
// record is the platform's own TASKDIALOGCONFIG, handed unchanged to the platform dialog; other
// builds get a definition with the same fields, types of the same size and the same packing.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "common/result_code.h"

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <commctrl.h>
#endif

namespace quorlex {

#if defined(_WIN32)

using ::TASKDIALOG_BUTTON;
using ::TASKDIALOGCONFIG;
using WindowHandle = HWND;
using ModuleHandle = HINSTANCE;
using IconHandle = HICON;
using RecordText = PCWSTR;
using WParam = WPARAM;
using LParam = LPARAM;
using CallbackData = LONG_PTR;
using CallbackResult = HRESULT;
using TaskDialogCallback = PFTASKDIALOGCALLBACK;
#define QUORLEX_TASK_DIALOG_CALLBACK CALLBACK

#else

struct PlatformWindow;
struct PlatformModule;
struct PlatformIcon;
using WindowHandle = PlatformWindow*;
using ModuleHandle = PlatformModule*;
using IconHandle = PlatformIcon*;
using RecordText = const char16_t*;
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using CallbackData = std::intptr_t;
using CallbackResult = std::int32_t;
using TaskDialogCallback = CallbackResult (*)(WindowHandle dialog, std::uint32_t notification,
                                              WParam wParam, LParam lParam, CallbackData data);
#define QUORLEX_TASK_DIALOG_CALLBACK

#pragma pack(push, 1)
struct TASKDIALOG_BUTTON {
  int nButtonID;
  RecordText pszButtonText;
};

struct TASKDIALOGCONFIG {
  std::uint32_t cbSize;
  WindowHandle hwndParent;
  ModuleHandle hInstance;
  std::uint32_t dwFlags;
  std::uint32_t dwCommonButtons;
  RecordText pszWindowTitle;
  union {
    IconHandle hMainIcon;
    RecordText pszMainIcon;
  };
  RecordText pszMainInstruction;
  RecordText pszContent;
  std::uint32_t cButtons;
  const TASKDIALOG_BUTTON* pButtons;
  int nDefaultButton;
  std::uint32_t cRadioButtons;
  const TASKDIALOG_BUTTON* pRadioButtons;
  int nDefaultRadioButton;
  RecordText pszVerificationText;
  RecordText pszExpandedInformation;
  RecordText pszExpandedControlText;
  RecordText pszCollapsedControlText;
  union {
    IconHandle hFooterIcon;
    RecordText pszFooterIcon;
  };
  RecordText pszFooter;
  TaskDialogCallback pfCallback;
  CallbackData lpCallbackData;
  std::uint32_t cxWidth;
};
#pragma pack(pop)

#endif

// Eight 32-bit fields and sixteen pointer-sized ones, without padding.
static_assert(sizeof(TASKDIALOGCONFIG) == 8 * 4 + 16 * sizeof(void*));
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TASKDIALOGCONFIG) == 96, "the shipping 32-bit record is 96 bytes");
#endif

inline constexpr std::uint32_t taskDialogConfigSize = sizeof(TASKDIALOGCONFIG);

// Flag bits of dwFlags.
inline constexpr std::uint32_t TDF_ENABLE_HYPERLINKS = 0x0001;
inline constexpr std::uint32_t TDF_USE_HICON_MAIN = 0x0002;
inline constexpr std::uint32_t TDF_USE_HICON_FOOTER = 0x0004;
inline constexpr std::uint32_t TDF_ALLOW_DIALOG_CANCELLATION = 0x0008;
inline constexpr std::uint32_t TDF_USE_COMMAND_LINKS = 0x0010;
inline constexpr std::uint32_t TDF_USE_COMMAND_LINKS_NO_ICON = 0x0020;
inline constexpr std::uint32_t TDF_EXPAND_FOOTER_AREA = 0x0040;
inline constexpr std::uint32_t TDF_EXPANDED_BY_DEFAULT = 0x0080;
inline constexpr std::uint32_t TDF_VERIFICATION_FLAG_CHECKED = 0x0100;
inline constexpr std::uint32_t TDF_SHOW_PROGRESS_BAR = 0x0200;
inline constexpr std::uint32_t TDF_SHOW_MARQUEE_PROGRESS_BAR = 0x0400;
inline constexpr std::uint32_t TDF_CALLBACK_TIMER = 0x0800;
inline constexpr std::uint32_t TDF_POSITION_RELATIVE_TO_WINDOW = 0x1000;
inline constexpr std::uint32_t TDF_RTL_LAYOUT = 0x2000;
inline constexpr std::uint32_t TDF_NO_DEFAULT_RADIO_BUTTON = 0x4000;
inline constexpr std::uint32_t TDF_CAN_BE_MINIMIZED = 0x8000;

// Common-button bits of dwCommonButtons and the button ids they produce.
inline constexpr std::uint32_t TDCBF_OK_BUTTON = 0x01;
inline constexpr std::uint32_t TDCBF_YES_BUTTON = 0x02;
inline constexpr std::uint32_t TDCBF_NO_BUTTON = 0x04;
inline constexpr std::uint32_t TDCBF_CANCEL_BUTTON = 0x08;
inline constexpr std::uint32_t TDCBF_RETRY_BUTTON = 0x10;
inline constexpr std::uint32_t TDCBF_CLOSE_BUTTON = 0x20;

inline constexpr int idOk = 1;
inline constexpr int idCancel = 2;
inline constexpr int idRetry = 4;
inline constexpr int idYes = 6;
inline constexpr int idNo = 7;
inline constexpr int idClose = 8;

// The button id a common-button bit produces; none for anything but one known bit.
std::optional<int> commonButtonId(std::uint32_t bit);

// Notification codes passed to pfCallback.
inline constexpr std::uint32_t TDN_CREATED = 0;
inline constexpr std::uint32_t TDN_NAVIGATED = 1;
inline constexpr std::uint32_t TDN_BUTTON_CLICKED = 2;
inline constexpr std::uint32_t TDN_HYPERLINK_CLICKED = 3;
inline constexpr std::uint32_t TDN_TIMER = 4;
inline constexpr std::uint32_t TDN_DESTROYED = 5;
inline constexpr std::uint32_t TDN_RADIO_BUTTON_CLICKED = 6;
inline constexpr std::uint32_t TDN_DIALOG_CONSTRUCTED = 7;
inline constexpr std::uint32_t TDN_VERIFICATION_CLICKED = 8;
inline constexpr std::uint32_t TDN_HELP = 9;
inline constexpr std::uint32_t TDN_EXPANDO_BUTTON_CLICKED = 10;

// Callback results: 1 keeps the dialog open after a click, or restarts the timer's tick count.
inline constexpr CallbackResult callbackContinue = 0;  // S_OK
inline constexpr CallbackResult callbackVeto = 1;      // S_FALSE

// Messages a callback may send to the dialog (the platform's first user message + 0x400 + n).
inline constexpr std::uint32_t TDM_NAVIGATE_PAGE = 1125;
inline constexpr std::uint32_t TDM_CLICK_BUTTON = 1126;
inline constexpr std::uint32_t TDM_SET_MARQUEE_PROGRESS_BAR = 1127;
inline constexpr std::uint32_t TDM_SET_PROGRESS_BAR_STATE = 1128;
inline constexpr std::uint32_t TDM_SET_PROGRESS_BAR_RANGE = 1129;
inline constexpr std::uint32_t TDM_SET_PROGRESS_BAR_POS = 1130;
inline constexpr std::uint32_t TDM_SET_PROGRESS_BAR_MARQUEE = 1131;
inline constexpr std::uint32_t TDM_SET_ELEMENT_TEXT = 1132;
inline constexpr std::uint32_t TDM_CLICK_RADIO_BUTTON = 1134;
inline constexpr std::uint32_t TDM_ENABLE_BUTTON = 1135;
inline constexpr std::uint32_t TDM_ENABLE_RADIO_BUTTON = 1136;
inline constexpr std::uint32_t TDM_CLICK_VERIFICATION = 1137;
inline constexpr std::uint32_t TDM_UPDATE_ELEMENT_TEXT = 1138;
inline constexpr std::uint32_t TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE = 1139;
inline constexpr std::uint32_t TDM_UPDATE_ICON = 1140;

// Elements of the two text messages, and of the icon message.
inline constexpr WParam TDE_CONTENT = 0;
inline constexpr WParam TDE_EXPANDED_INFORMATION = 1;
inline constexpr WParam TDE_FOOTER = 2;
inline constexpr WParam TDE_MAIN_INSTRUCTION = 3;
inline constexpr WParam TDIE_ICON_MAIN = 0;
inline constexpr WParam TDIE_ICON_FOOTER = 1;

// The standard icon ids. The platform's own names (TD_WARNING_ICON and kin) are pointer macros
// on Windows, so these are the same values as numbers.
inline constexpr std::uint16_t warningIconId = 0xFFFF;
inline constexpr std::uint16_t errorIconId = 0xFFFE;
inline constexpr std::uint16_t informationIconId = 0xFFFD;
inline constexpr std::uint16_t shieldIconId = 0xFFFC;

inline bool isStandardIconId(std::uintptr_t value) {
  return value >= shieldIconId && value <= warningIconId;
}

// A text or id is one pointer-sized value: 0 no text, up to 0xFFFF a string-resource id, any
// larger value a zero-terminated UTF-16 text.
inline std::uintptr_t textOrIdValue(const void* textOrId) {
  return reinterpret_cast<std::uintptr_t>(textOrId);
}
inline bool isResourceId(std::uintptr_t value) { return value != 0 && value <= 0xFFFF; }
inline bool isTextPointer(std::uintptr_t value) { return value > 0xFFFF; }

inline RecordText textOrIdFromId(std::uint16_t id) {
  return reinterpret_cast<RecordText>(static_cast<std::uintptr_t>(id));
}
// The record's UTF-16 texts are char16_t inside the system and wchar_t to the Windows headers.
inline RecordText recordText(const char16_t* text) { return reinterpret_cast<RecordText>(text); }
inline const char16_t* systemText(RecordText text) {
  return reinterpret_cast<const char16_t*>(text);
}

// dwFlags and dwCommonButtons are signed on Windows and unsigned here; bits are read as unsigned.
inline std::uint32_t flagsOf(const TASKDIALOGCONFIG& config) {
  return static_cast<std::uint32_t>(config.dwFlags);
}
inline std::uint32_t commonButtonsOf(const TASKDIALOGCONFIG& config) {
  return static_cast<std::uint32_t>(config.dwCommonButtons);
}
inline void setFlags(TASKDIALOGCONFIG& config, std::uint32_t flags) {
  config.dwFlags = static_cast<decltype(config.dwFlags)>(flags);
}

// A command link's text: the main text before the first line feed, the note after it.
struct CommandLinkText {
  std::u16string_view main;
  std::optional<std::u16string_view> note;
};
CommandLinkText splitCommandLinkText(std::u16string_view text);

// TaskDialogIndirect of either dialog: the record and the addresses of the three answers
// (button id, radio-button id, verification state), each of which may be absent.
using TaskDialogFunction = std::function<ResultCode(const TASKDIALOGCONFIG* config, int* button,
                                                    int* radioButton, int* verification)>;

}  // namespace quorlex
