#include "setup/choice_menu_win32.h"

#include "common/unique_hmenu.h"

namespace quorlex {
namespace {

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

UINT checkFlag(bool checked) { return checked ? MF_CHECKED : MF_UNCHECKED; }

bool appendEntries(HMENU menu, const std::vector<MenuEntry>& entries);

bool appendEntry(HMENU menu, const MenuEntry& entry) {
  if (!entry.isSubmenu) return AppendMenuW(menu, MF_STRING | checkFlag(entry.checked), entry.commandId, wide(entry.text));
  unique_hmenu submenu(CreatePopupMenu());
  if (!submenu || !appendEntries(submenu.get(), entry.entries)) return false;
  if (!AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()), wide(entry.text))) return false;
  (void)submenu.release();  // the pop-up destroys it now
  return true;
}

bool appendEntries(HMENU menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (!appendEntry(menu, entry)) return false;
  }
  return true;
}

}  // namespace

bool showChoiceMenu(HMODULE module, const ChoiceMenu& menu, HWND owner, POINT topLeft) {
  unique_hmenu resource(LoadMenuW(module, MAKEINTRESOURCEW(choiceCommand::menuResource)));
  HMENU popup = resource ? GetSubMenu(resource.get(), 0) : nullptr;
  if (!popup) return false;
  for (const MenuEntry& entry : menu.entries) {
    // The resource's own entries are ticked in place; the rest is added behind them.
    bool inResource = !entry.isSubmenu && GetMenuState(popup, entry.commandId, MF_BYCOMMAND) != static_cast<UINT>(-1);
    if (inResource) {
      (void)CheckMenuItem(popup, entry.commandId, MF_BYCOMMAND | checkFlag(entry.checked));
    } else if (!appendEntry(popup, entry)) {
      return false;
    }
  }
  return TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, topLeft.x, topLeft.y, 0, owner, nullptr);
}

}  // namespace quorlex
