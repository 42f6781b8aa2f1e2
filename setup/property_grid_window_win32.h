#pragma once
// The Data Mapping page's property grid on screen: a control of the component's own window
// class that shows a PropertyGrid model (groups, items, selection) and turns the
// administrator's mouse and keyboard input into calls of the model's items. The choice menu
// of an item goes up owned by the grid's parent, the page, which receives the chosen
// command as WM_COMMAND.

#include <windows.h>

#include "setup/property_grid.h"

namespace quorlex {

inline constexpr wchar_t propertyGridWindowClass[] = L"QuorlexPropertyGrid";
// The grid's own children: the column header, the scroll bar beside the rows, and the edit
// box over a text constant's value while it is typed in (hidden otherwise).
inline constexpr int propertyGridHeaderId = 1;
inline constexpr int propertyGridScrollBarId = 2;
inline constexpr int propertyGridEditId = 3;

// The class lives in the module that registers it; registering twice is harmless. The
// component unregisters it when it unloads.
bool registerPropertyGridClass(HINSTANCE module);
void unregisterPropertyGridClass(HINSTANCE module);

// A visible child of parent with a border and a tab stop, at rect (the parent's client
// coordinates), showing model, which must outlive the window. None on failure.
HWND createPropertyGridWindow(HWND parent, const RECT& rect, int controlId, PropertyGrid& model, HINSTANCE module);
// Once the page has put its groups into the model: rows, columns and scroll range laid out
// and the grid repainted.
void layoutPropertyGrid(HWND grid);
// After the model changed from outside the grid (a menu choice through the page, the
// required check's selection): the items' texts read again, the selection shown, and the
// item last brought into view by the model scrolled into view.
void refreshPropertyGrid(HWND grid);
// Where the item's name and value cells are drawn, in the grid's client coordinates; false
// when the item's row is not in view.
bool propertyGridItemCells(HWND grid, const CMappedProperty& item, RECT& name, RECT& value);

}  // namespace quorlex
