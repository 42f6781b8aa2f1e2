#include "setup/property_grid_view.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace quorlex {
namespace {

// How close to the column boundary a press grabs it, in pixels either side.
constexpr int boundaryGrip = 2;
// The least a column keeps when the boundary is dragged, in average characters.
constexpr int minimumColumnChars = 4;

}  // namespace

void PropertyGridView::setMetrics(const GridMetrics& metrics) {
  metrics_ = metrics;
  clampBoundary();
  clampTopRow();
}

void PropertyGridView::resize(int clientWidth, int clientHeight) {
  clientWidth_ = std::max(0, clientWidth);
  clientHeight_ = std::max(0, clientHeight);
  // Names are short ("Parameter 20"), values can be long: the value column gets the larger share.
  if (!boundaryPlaced_ && clientWidth_ > 0) {
    boundary_ = clientWidth_ * 2 / 5;
    boundaryPlaced_ = true;
  }
  clampBoundary();
  clampTopRow();
}

void PropertyGridView::layOut() {
  rebuildRows();
  bool hasItems = std::any_of(model_.groups().begin(), model_.groups().end(),
                              [](const PropertyGroup& group) { return !group.items.empty(); });
  if (!laidOut_ && hasItems) {
    laidOut_ = true;
    for (const PropertyGroup& group : model_.groups()) {
      for (const auto& item : group.items) originalValues_[item.get()] = item->value();
    }
  }
  for (const PropertyGroup& group : model_.groups()) {
    for (const auto& item : group.items) editableSeen_[item.get()] = item->allowEdit();
  }
  selection_.reset();
  if (CMappedProperty* selected = model_.selected()) {
    if (std::optional<int> row = rowOfItem(selected)) selection_ = rows_[static_cast<std::size_t>(*row)];
  }
  clampBoundary();
  clampTopRow();
}

void PropertyGridView::refresh() {
  if (editItem_ && !editItem_->allowEdit()) cancelEdit();
  CMappedProperty* wanted = model_.selected();
  if (wanted && wanted != selectedItem()) {
    for (PropertyGroup& group : model_.groups()) {
      bool holds = std::any_of(group.items.begin(), group.items.end(), [&](const auto& item) { return item.get() == wanted; });
      if (holds) group.expanded = true;
    }
  }
  rebuildRows();
  if (wanted != selectedItem()) {
    std::optional<int> row = wanted ? rowOfItem(wanted) : std::nullopt;
    if (row) {
      selection_ = rows_[static_cast<std::size_t>(*row)];
      bringIntoView(*row);
    } else if (selection_ && !selection_->isGroup()) {
      selection_.reset();
    }
  }
  // The required check selects an item and brings it into view; the same item may be asked
  // for again after the administrator scrolled away from it.
  const CMappedProperty* shown = model_.lastShown();
  if (shown && (shown != lastShownHonoured_ || shown == model_.selected())) {
    if (std::optional<int> row = rowOfItem(shown)) bringIntoView(*row);
  }
  lastShownHonoured_ = shown;
  // "Text Constant" was just chosen: the empty value is there to be typed.
  CMappedProperty* selected = selectedItem();
  bool becameEditable = selected && selected->allowEdit() && !editableSeen_[selected] && selected->value().empty();
  for (const PropertyGroup& group : model_.groups()) {
    for (const auto& item : group.items) editableSeen_[item.get()] = item->allowEdit();
  }
  clampTopRow();
  if (becameEditable && !editing()) startEdit();
}

int PropertyGridView::rowHeight() const { return metrics_.textHeight + std::max(4, metrics_.textHeight / 3); }

int PropertyGridView::textPadding() const { return std::max(2, metrics_.averageCharWidth / 2); }

int PropertyGridView::expandBoxSize() const { return std::max(7, (metrics_.textHeight * 2 / 3) | 1); }

// The selected item's name and two lines of description, with room above and below.
int PropertyGridView::descriptionHeight() const { return 4 * metrics_.textHeight; }

GridRect PropertyGridView::headerRect() const {
  return {0, 0, clientWidth_, std::min(metrics_.headerHeight, clientHeight_)};
}

GridRect PropertyGridView::descriptionRect() const {
  int top = std::max(headerRect().bottom, clientHeight_ - descriptionHeight());
  return {0, top, clientWidth_, clientHeight_};
}

GridRect PropertyGridView::rowsRect() const {
  int top = headerRect().bottom;
  // A band of the dialog's colour parts the rows from the description.
  int separator = std::max(3, metrics_.textHeight / 4);
  int bottom = std::max(top, descriptionRect().top - separator);
  int right = clientWidth_ - (needsScrollBar() ? metrics_.scrollBarWidth : 0);
  return {0, top, std::max(0, right), bottom};
}

std::optional<GridRect> PropertyGridView::scrollBarRect() const {
  if (!needsScrollBar()) return std::nullopt;
  GridRect rows = rowsRect();
  return GridRect{rows.right, rows.top, clientWidth_, rows.bottom};
}

int PropertyGridView::valueColumnWidth() const { return std::max(0, clientWidth_ - boundary_); }

int PropertyGridView::setBoundary(int x) {
  boundary_ = x;
  clampBoundary();
  return boundary_;
}

void PropertyGridView::clampBoundary() {
  if (!boundaryPlaced_) return;
  int least = gutterWidth() + minimumColumnChars * metrics_.averageCharWidth;
  int most = rowsRect().right - buttonWidth() - minimumColumnChars * metrics_.averageCharWidth;
  boundary_ = std::max(least, std::min(boundary_, most));
}

void PropertyGridView::rebuildRows() {
  rows_.clear();
  const std::vector<PropertyGroup>& groups = model_.groups();
  for (std::size_t g = 0; g < groups.size(); ++g) {
    rows_.push_back({static_cast<int>(g), -1});
    if (!groups[g].expanded) continue;
    for (std::size_t i = 0; i < groups[g].items.size(); ++i) rows_.push_back({static_cast<int>(g), static_cast<int>(i)});
  }
  if (selection_ && std::find(rows_.begin(), rows_.end(), *selection_) == rows_.end()) selection_.reset();
}

std::optional<int> PropertyGridView::rowOfItem(const CMappedProperty* item) const {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (!rows_[row].isGroup() && itemOf(rows_[row]) == item) return static_cast<int>(row);
  }
  return std::nullopt;
}

std::optional<int> PropertyGridView::rowOfGroup(int group) const {
  auto found = std::find(rows_.begin(), rows_.end(), GridRow{group, -1});
  if (found == rows_.end()) return std::nullopt;
  return static_cast<int>(found - rows_.begin());
}

const PropertyGroup& PropertyGridView::groupOf(const GridRow& row) const {
  return model_.groups()[static_cast<std::size_t>(row.group)];
}

CMappedProperty* PropertyGridView::itemOf(const GridRow& row) const {
  if (row.isGroup()) return nullptr;
  return groupOf(row).items[static_cast<std::size_t>(row.item)].get();
}

bool PropertyGridView::isModified(const CMappedProperty& item) const {
  auto found = originalValues_.find(&item);
  return found != originalValues_.end() && found->second != item.value();
}

GridRect PropertyGridView::rowRect(int row) const {
  GridRect rows = rowsRect();
  int top = rows.top + (row - topRow_) * rowHeight();
  return {0, top, rows.right, top + rowHeight()};
}

GridRect PropertyGridView::expandBoxRect(int row) const {
  GridRect whole = rowRect(row);
  int size = expandBoxSize();
  int left = (gutterWidth() - size) / 2;
  int top = whole.top + (rowHeight() - size) / 2;
  return {left, top, left + size, top + size};
}

GridRect PropertyGridView::nameCellRect(int row) const {
  GridRect whole = rowRect(row);
  bool group = rows_[static_cast<std::size_t>(row)].isGroup();
  return {gutterWidth(), whole.top, group ? whole.right : boundary_, whole.bottom};
}

GridRect PropertyGridView::valueCellRect(int row) const {
  GridRect whole = rowRect(row);
  bool withButton = selectedRow() == row && selectedItem();
  return {boundary_ + 1, whole.top, whole.right - (withButton ? buttonWidth() : 0), whole.bottom};
}

std::optional<GridRect> PropertyGridView::valueButtonRect() const {
  std::optional<int> row = selectedRow();
  if (!row || !selectedItem() || *row < topRow_ || *row >= topRow_ + pageRows()) return std::nullopt;
  GridRect whole = rowRect(*row);
  return GridRect{whole.right - buttonWidth(), whole.top, whole.right, whole.bottom - 1};
}

std::optional<int> PropertyGridView::selectedRow() const {
  if (!selection_) return std::nullopt;
  auto found = std::find(rows_.begin(), rows_.end(), *selection_);
  if (found == rows_.end()) return std::nullopt;
  return static_cast<int>(found - rows_.begin());
}

CMappedProperty* PropertyGridView::selectedItem() const { return selection_ ? itemOf(*selection_) : nullptr; }

void PropertyGridView::selectRow(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return;
  const GridRow& chosen = rows_[static_cast<std::size_t>(row)];
  if (editItem_ && itemOf(chosen) != editItem_) endEdit();
  selection_ = chosen;
  model_.select(itemOf(chosen));
  bringIntoView(row);
}

DescriptionArea PropertyGridView::description() const {
  if (!selection_) return {};
  if (selection_->isGroup()) return {groupOf(*selection_).name, {}};
  return model_.descriptionArea();
}

int PropertyGridView::pageRows() const { return std::max(1, rowsRect().height() / rowHeight()); }

int PropertyGridView::maxTopRow() const { return std::max(0, static_cast<int>(rows_.size()) - pageRows()); }

bool PropertyGridView::needsScrollBar() const {
  int top = headerRect().bottom;
  int separator = std::max(3, metrics_.textHeight / 4);
  int height = std::max(0, descriptionRect().top - separator - top);
  return static_cast<int>(rows_.size()) * rowHeight() > height;
}

void PropertyGridView::clampTopRow() { topRow_ = std::max(0, std::min(topRow_, maxTopRow())); }

void PropertyGridView::bringIntoView(int row) {
  if (row < topRow_) topRow_ = row;
  if (row >= topRow_ + pageRows()) topRow_ = row - pageRows() + 1;
  clampTopRow();
}

void PropertyGridView::scroll(GridScroll how, int position) {
  int step = std::max(1, pageRows() - 1);
  switch (how) {
    case GridScroll::LineUp: return scrollLines(-1);
    case GridScroll::LineDown: return scrollLines(1);
    case GridScroll::PageUp: return scrollLines(-step);
    case GridScroll::PageDown: return scrollLines(step);
    case GridScroll::Top: return scrollLines(-topRow_);
    case GridScroll::Bottom: return scrollLines(maxTopRow() - topRow_);
    case GridScroll::ToPosition: return scrollLines(position - topRow_);
  }
}

void PropertyGridView::scrollLines(int lines) {
  int before = topRow_;
  topRow_ += lines;
  clampTopRow();
  // The edit box does not travel with its row: what was typed is kept, and the box closes.
  if (topRow_ != before && editing()) endEdit();
}

void PropertyGridView::setExpanded(int group, bool expanded) {
  PropertyGroup& changed = model_.groups()[static_cast<std::size_t>(group)];
  if (changed.expanded == expanded) return;
  if (!expanded && editItem_) {
    bool inGroup = std::any_of(changed.items.begin(), changed.items.end(), [&](const auto& item) { return item.get() == editItem_; });
    if (inGroup) endEdit();
  }
  bool selectionHidden = !expanded && selection_ && selection_->group == group && !selection_->isGroup();
  changed.expanded = expanded;
  rebuildRows();
  if (selectionHidden) {
    if (std::optional<int> row = rowOfGroup(group)) selectRow(*row);
  }
  clampTopRow();
  if (std::optional<int> row = selectedRow()) bringIntoView(*row);
}

GridReply PropertyGridView::moveSelection(int row) {
  if (rows_.empty()) return GridReply::Handled;
  selectRow(std::max(0, std::min(row, static_cast<int>(rows_.size()) - 1)));
  return GridReply::Handled;
}

GridReply PropertyGridView::onKey(GridKey key, bool alt) {
  std::optional<int> current = selectedRow();
  int step = std::max(1, pageRows() - 1);
  CMappedProperty* item = selectedItem();
  switch (key) {
    case GridKey::Up: return moveSelection(current ? *current - 1 : 0);
    case GridKey::Down:
      if (!alt) return moveSelection(current ? *current + 1 : 0);
      [[fallthrough]];
    case GridKey::F4:
      if (!item) return GridReply::Handled;
      if (editing()) endEdit();
      bringIntoView(*current);
      return GridReply::OpenMenu;
    case GridKey::Home: return moveSelection(0);
    case GridKey::End: return moveSelection(static_cast<int>(rows_.size()) - 1);
    case GridKey::PageUp: return moveSelection(current ? *current - step : 0);
    case GridKey::PageDown: return moveSelection(current ? *current + step : 0);
    case GridKey::Left:
    case GridKey::Collapse:
      if (!current) return GridReply::Handled;
      if (selection_->isGroup()) {
        setExpanded(selection_->group, false);
      } else if (std::optional<int> group = rowOfGroup(selection_->group)) {
        // From an item, Left goes up to its group; "-" folds the group away at once.
        int groupIndex = selection_->group;
        selectRow(*group);
        if (key == GridKey::Collapse) setExpanded(groupIndex, false);
      }
      return GridReply::Handled;
    case GridKey::Right:
    case GridKey::Expand:
      if (!current || !selection_->isGroup()) return GridReply::Handled;
      if (!groupOf(*selection_).expanded) {
        setExpanded(selection_->group, true);
      } else if (key == GridKey::Right && !groupOf(*selection_).items.empty()) {
        selectRow(*current + 1);
      }
      return GridReply::Handled;
    case GridKey::F2:
      (void)startEdit();
      return GridReply::Handled;
    case GridKey::Enter: return startEdit() ? GridReply::Handled : GridReply::Ignored;
  }
  return GridReply::Ignored;
}

bool PropertyGridView::takesEnter() const {
  CMappedProperty* item = selectedItem();
  return item && item->allowEdit() && !editing();
}

GridHit PropertyGridView::hitTest(GridPoint point) const {
  GridRect rows = rowsRect();
  if (rows.contains(point)) {
    int row = topRow_ + (point.y - rows.top) / rowHeight();
    if (row >= static_cast<int>(rows_.size())) return {GridPart::Nothing, -1};
    if (rows_[static_cast<std::size_t>(row)].isGroup()) {
      return {point.x < gutterWidth() ? GridPart::ExpandBox : GridPart::GroupName, row};
    }
    if (std::abs(point.x - boundary_) <= boundaryGrip) return {GridPart::ColumnBoundary, row};
    if (point.x < boundary_) return {GridPart::NameCell, row};
    std::optional<GridRect> button = valueButtonRect();
    if (button && selectedRow() == row && point.x >= button->left) return {GridPart::ValueButton, row};
    return {GridPart::ValueCell, row};
  }
  if (descriptionRect().contains(point)) return {GridPart::Description, -1};
  return {GridPart::Nothing, -1};
}

GridReply PropertyGridView::onMouseDown(GridPoint point) {
  GridHit hit = hitTest(point);
  // A press anywhere in the grid is moving away from the edit box.
  if (editing() && hit.part != GridPart::ValueButton) endEdit();
  switch (hit.part) {
    case GridPart::ColumnBoundary: dragging_ = true; return GridReply::Handled;
    case GridPart::ExpandBox:
      selectRow(hit.row);
      setExpanded(rows_[static_cast<std::size_t>(hit.row)].group, !groupOf(rows_[static_cast<std::size_t>(hit.row)]).expanded);
      return GridReply::Handled;
    case GridPart::GroupName:
    case GridPart::NameCell: selectRow(hit.row); return GridReply::Handled;
    case GridPart::ValueCell:
      selectRow(hit.row);
      (void)startEdit();
      return GridReply::Handled;
    case GridPart::ValueButton:
      if (editing()) endEdit();
      return GridReply::OpenMenu;
    case GridPart::Description:
    case GridPart::Nothing: return GridReply::Handled;
  }
  return GridReply::Handled;
}

GridReply PropertyGridView::onDoubleClick(GridPoint point) {
  GridHit hit = hitTest(point);
  if (hit.part != GridPart::GroupName) return onMouseDown(point);
  selectRow(hit.row);
  const GridRow& row = rows_[static_cast<std::size_t>(hit.row)];
  setExpanded(row.group, !groupOf(row).expanded);
  return GridReply::Handled;
}

void PropertyGridView::onMouseMove(GridPoint point) {
  if (dragging_) (void)setBoundary(point.x);
}

void PropertyGridView::onMouseUp() { dragging_ = false; }

std::optional<GridRect> PropertyGridView::editRect() const {
  if (!editItem_) return std::nullopt;
  std::optional<int> row = rowOfItem(editItem_);
  if (!row) return std::nullopt;
  GridRect cell = valueCellRect(*row);
  // The typed text sits where the value is drawn.
  int top = cell.top + (rowHeight() - metrics_.textHeight) / 2;
  return GridRect{cell.left + textPadding(), top, cell.right - 1, top + metrics_.textHeight};
}

bool PropertyGridView::startEdit() {
  CMappedProperty* item = selectedItem();
  if (!item || !item->allowEdit()) return false;
  if (std::optional<int> row = selectedRow()) bringIntoView(*row);
  editItem_ = item;
  editText_ = item->value();
  return true;
}

void PropertyGridView::endEdit() {
  CMappedProperty* item = std::exchange(editItem_, nullptr);
  if (item) item->endEdit(editText_);
  editText_.clear();
}

void PropertyGridView::cancelEdit() {
  editItem_ = nullptr;
  editText_.clear();
}

}  // namespace quorlex
