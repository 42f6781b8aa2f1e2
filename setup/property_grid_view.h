#pragma once
// The property grid as the administrator sees and works it: which rows are visible, where
// each row, cell, box and button lies (all sizes follow the font), what is selected, what a
// key, click or wheel turn does, the in-place edit of a text constant, the scrolling, and
// which values changed since the grid was first laid out. The window only feeds input in and
// shows what this says.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "setup/property_grid.h"

namespace quorlex {

struct GridPoint {
  int x = 0;
  int y = 0;
};

// Left and top inside, right and bottom outside.
struct GridRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool contains(GridPoint point) const { return point.x >= left && point.x < right && point.y >= top && point.y < bottom; }
  bool operator==(const GridRect&) const = default;
};

// What the window measures: the dialog font, the header its control lays out for that font,
// the system's scroll-bar width, and the client area.
struct GridMetrics {
  int textHeight = 13;
  int averageCharWidth = 6;
  int headerHeight = 20;
  int scrollBarWidth = 17;
};

// One visible row: a group, or an item of a group (item -1 for the group's own row).
struct GridRow {
  int group = -1;
  int item = -1;
  bool isGroup() const { return item < 0; }
  bool operator==(const GridRow&) const = default;
};

enum class GridKey { Up, Down, Home, End, PageUp, PageDown, Left, Right, Expand, Collapse, F2, F4, Enter };

enum class GridPart { Nothing, ExpandBox, GroupName, NameCell, ValueCell, ValueButton, ColumnBoundary, Description };

struct GridHit {
  GridPart part = GridPart::Nothing;
  int row = -1;  // index among the visible rows
  bool operator==(const GridHit&) const = default;
};

// What the window must do beyond showing the new state.
enum class GridReply { Ignored, Handled, OpenMenu };

enum class GridScroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom, ToPosition };

class PropertyGridView {
 public:
  explicit PropertyGridView(PropertyGrid& model) : model_(model) {}

  // Sizes from the window: metrics of its font and controls, and its client size.
  void setMetrics(const GridMetrics& metrics);
  const GridMetrics& metrics() const { return metrics_; }
  void resize(int clientWidth, int clientHeight);
  // The model's groups are in place: rows rebuilt; the first time, every value is remembered
  // as the one that is not marked modified.
  void layOut();
  // The model changed from outside (a menu choice, the required check): rows rebuilt, its
  // selection taken over, the item it last brought into view scrolled into view, and a row
  // that just became a text constant opened for typing.
  void refresh();

  // Geometry, derived from the font.
  int rowHeight() const;
  int gutterWidth() const { return rowHeight(); }
  int buttonWidth() const { return rowHeight(); }
  int textPadding() const;
  int expandBoxSize() const;
  int descriptionHeight() const;
  GridRect headerRect() const;
  GridRect rowsRect() const;
  GridRect descriptionRect() const;
  std::optional<GridRect> scrollBarRect() const;
  // The left-hand column's width, from the grid's left edge: where the boundary stands.
  int boundary() const { return boundary_; }
  // The header's two column widths.
  int nameColumnWidth() const { return boundary_; }
  int valueColumnWidth() const;
  // Moves the column boundary, kept clear of both edges; the position it took.
  int setBoundary(int x);

  // Rows.
  const std::vector<GridRow>& rows() const { return rows_; }
  GridRect rowRect(int row) const;  // on screen or not
  GridRect expandBoxRect(int row) const;
  GridRect nameCellRect(int row) const;
  GridRect valueCellRect(int row) const;  // without the button
  std::optional<GridRect> valueButtonRect() const;  // the selected item's, when it is in view
  const PropertyGroup& groupOf(const GridRow& row) const;
  CMappedProperty* itemOf(const GridRow& row) const;
  // The value differs from the one it had when the grid was first laid out.
  bool isModified(const CMappedProperty& item) const;

  // Selection.
  std::optional<int> selectedRow() const;
  void selectRow(int row);
  CMappedProperty* selectedItem() const;
  DescriptionArea description() const;

  // Scrolling, in rows.
  int topRow() const { return topRow_; }
  int pageRows() const;
  int maxTopRow() const;
  bool needsScrollBar() const;
  void scroll(GridScroll how, int position = 0);
  // Wheel: positive lines move the view down.
  void scrollLines(int lines);

  // Input.
  GridReply onKey(GridKey key, bool alt = false);
  // Whether the grid itself takes Enter, rather than leaving it to the dialog's default button.
  bool takesEnter() const;
  GridReply onMouseDown(GridPoint point);
  GridReply onDoubleClick(GridPoint point);
  void onMouseMove(GridPoint point);
  void onMouseUp();
  bool dragging() const { return dragging_; }
  GridHit hitTest(GridPoint point) const;

  // In-place editing of a text constant.
  bool editing() const { return editItem_ != nullptr; }
  CMappedProperty* editItem() const { return editItem_; }
  std::optional<GridRect> editRect() const;
  const std::u16string& editText() const { return editText_; }
  void setEditText(std::u16string text) { editText_ = std::move(text); }
  bool startEdit();
  // The typed text becomes the item's value.
  void endEdit();
  // The typed text is dropped.
  void cancelEdit();

  const PropertyGrid& model() const { return model_; }

 private:
  void rebuildRows();
  std::optional<int> rowOfItem(const CMappedProperty* item) const;
  std::optional<int> rowOfGroup(int group) const;
  void bringIntoView(int row);
  void clampTopRow();
  void clampBoundary();
  void setExpanded(int group, bool expanded);
  GridReply moveSelection(int row);

  PropertyGrid& model_;
  GridMetrics metrics_{};
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  int boundary_ = 0;
  bool boundaryPlaced_ = false;  // at the first resize with a width
  std::vector<GridRow> rows_;
  std::optional<GridRow> selection_;
  int topRow_ = 0;
  bool dragging_ = false;
  bool laidOut_ = false;
  std::map<const CMappedProperty*, std::u16string> originalValues_;
  std::map<const CMappedProperty*, bool> editableSeen_;
  const CMappedProperty* lastShownHonoured_ = nullptr;
  CMappedProperty* editItem_ = nullptr;
  std::u16string editText_;
};

}  // namespace quorlex
