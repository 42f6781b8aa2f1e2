#pragma once
// An item's choice menu on screen: the pop-up of menu resource 11012 with the entries and
// submenus of the menu's data, ticked as the data says.

#include <windows.h>

#include "setup/choice_menu.h"

namespace quorlex {

// Shows the menu with its top-left corner at the screen point; either mouse button chooses.
// The chosen entry's command goes to owner as WM_COMMAND once the menu has closed. False
// when the menu could not be made or shown.
bool showChoiceMenu(HMODULE module, const ChoiceMenu& menu, HWND owner, POINT topLeft);

}  // namespace quorlex
