#include "setup/property_grid_view.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "setup/mapping_page.h"
#include "setup/parameter_table.h"
#include "setup/property_grid_paint.h"
#include "setup_fakes.h"

namespace quorlex {
namespace {

// The dialog font of the page ("MS Shell Dlg" 8 point: 13 pixels high, 6 wide on average)
// and the grid in the page's frame, 504 by 370 pixels.
constexpr GridMetrics dialogFont{13, 6, 20, 17};
constexpr int gridWidth = 504;
constexpr int gridHeight = 370;

// Two groups: rows 0 "Exit Program Parameters", 1 to 19 Parameter 1 to 19, 20 "Other
// Details", 21 Parameter 20.
class PropertyGridViewTest : public testing::Test, protected test_support::HostWithTable {
 protected:
  void SetUp() override {
    host.record().indexFields = {u"INV", u"Customer"};
    host.record().links = {{u"INV", KFX_REL_INDEXFIELD, u"PARM3"}, {u"ABC", KFX_REL_TEXTCONSTANT, u"PARM20"}};
    table.loadLinks();
    table.row(19).placement = 2;
    table.row(1).required = 1;
    page.setTable(&table);
    page.onInitDialog();
    view.setMetrics(dialogFont);
    view.resize(gridWidth, gridHeight);
    view.layOut();
  }

  CMappedProperty* item(std::int32_t rowIndex) { return page.grid().findItem(rowIndex); }
  GridPoint inRow(int row, int x) { return {x, view.rowRect(row).top + view.rowHeight() / 2}; }
  std::set<int> collapsedGroups() {
    std::set<int> collapsed;
    for (std::size_t group = 0; group < page.grid().groups().size(); ++group) {
      if (!page.grid().groups()[group].expanded) collapsed.insert(static_cast<int>(group));
    }
    return collapsed;
  }
  template <class Operation>
  std::vector<Operation> operationsOf(bool focused) {
    std::vector<Operation> found;
    for (const PaintOperation& operation : paintPropertyGrid(view, focused)) {
      if (const auto* each = std::get_if<Operation>(&operation)) found.push_back(*each);
    }
    return found;
  }
  const TextOperation* textOperation(std::u16string_view text, bool focused = false) {
    texts_ = operationsOf<TextOperation>(focused);
    for (const TextOperation& each : texts_) {
      if (each.text == text) return &each;
    }
    return nullptr;
  }

  CPropertyPageSetupMapping page;
  PropertyGridView view{page.grid()};

 private:
  std::vector<TextOperation> texts_;
};

TEST_F(PropertyGridViewTest, SizesFollowTheFont) {
  EXPECT_EQ(view.rowHeight(), 17);
  EXPECT_EQ(view.rowsRect(), (GridRect{0, 20, gridWidth - 17, gridHeight - 52 - 3}));
  EXPECT_EQ(view.descriptionRect(), (GridRect{0, gridHeight - 52, gridWidth, gridHeight}));
  EXPECT_EQ(view.pageRows(), 17);
  EXPECT_EQ(view.scrollBarRect(), (GridRect{gridWidth - 17, 20, gridWidth, gridHeight - 55}));
  EXPECT_EQ(view.boundary(), gridWidth * 2 / 5);
  EXPECT_EQ(view.nameColumnWidth() + view.valueColumnWidth(), gridWidth);

  view.setMetrics({16, 7, 24, 17});
  EXPECT_EQ(view.rowHeight(), 21);
  EXPECT_EQ(view.expandBoxSize(), 11);
  EXPECT_EQ(view.descriptionRect().height(), 64);
  EXPECT_EQ(view.rowsRect().top, 24);
}

TEST_F(PropertyGridViewTest, ColumnBoundaryStaysClearOfBothEdges) {
  int least = view.gutterWidth() + 4 * 6;
  int most = view.rowsRect().right - view.buttonWidth() - 4 * 6;
  EXPECT_EQ(view.setBoundary(0), least);
  EXPECT_EQ(view.setBoundary(10000), most);
  EXPECT_EQ(view.setBoundary(150), 150);

  EXPECT_EQ(view.onMouseDown(inRow(1, 151)), GridReply::Handled);
  EXPECT_TRUE(view.dragging());
  view.onMouseMove({260, 0});
  EXPECT_EQ(view.boundary(), 260);
  view.onMouseMove({-40, 0});
  EXPECT_EQ(view.boundary(), least);
  view.onMouseUp();
  view.onMouseMove({300, 0});
  EXPECT_EQ(view.boundary(), least);
  EXPECT_EQ(view.selectedRow(), std::nullopt);
}

struct KeyCase {
  const char* name;
  std::optional<int> start;
  std::vector<GridKey> keys;
  std::optional<int> selected;
  std::set<int> collapsed;
  GridReply lastReply = GridReply::Handled;
};

TEST_F(PropertyGridViewTest, KeyboardMovesOverTheVisibleRowsAndFoldsGroups) {
  using enum GridKey;
  const KeyCase cases[] = {
      {"Down with nothing selected takes the first row", std::nullopt, {Down}, 0, {}},
      {"Home takes the first group, one Down its first item", 7, {Home, Down}, 1, {}},
      {"Up", 5, {Up}, 4, {}},
      {"Up stops at the top", 0, {Up}, 0, {}},
      {"Down passes onto the second group", 19, {Down}, 20, {}},
      {"End", 3, {End}, 21, {}},
      {"Down stops at the bottom", 21, {Down}, 21, {}},
      {"PageDown moves a page less one row", 1, {PageDown}, 17, {}},
      {"PageDown stops at the bottom", 12, {PageDown}, 21, {}},
      {"PageUp", 17, {PageUp}, 1, {}},
      {"PageUp stops at the top", 3, {PageUp}, 0, {}},
      {"Left folds a group", 0, {Left}, 0, {0}},
      {"Down after folding reaches the next group", 0, {Left, Down}, 1, {0}},
      {"Right unfolds it", 0, {Left, Right}, 0, {}},
      {"Right on an open group goes to its first item", 20, {Right}, 21, {}},
      {"Left on an item goes to its group", 5, {Left}, 0, {}},
      {"Minus on an item folds its group", 5, {Collapse}, 0, {0}},
      {"Plus unfolds", 20, {Collapse, Expand}, 20, {}},
      {"F4 on an item opens its menu", 4, {F4}, 4, {}, GridReply::OpenMenu},
      {"F4 on a group does nothing", 0, {F4}, 0, {}},
      {"Enter on an item that is not typed in is the dialog's", 4, {Enter}, 4, {}, GridReply::Ignored},
      {"F2 on such an item does nothing", 4, {F2}, 4, {}},
  };
  for (const KeyCase& each : cases) {
    SCOPED_TRACE(each.name);
    for (PropertyGroup& group : page.grid().groups()) group.expanded = true;
    view.layOut();
    if (each.start) view.selectRow(*each.start);
    GridReply reply = GridReply::Ignored;
    for (GridKey key : each.keys) reply = view.onKey(key);
    EXPECT_EQ(view.selectedRow(), each.selected);
    EXPECT_EQ(collapsedGroups(), each.collapsed);
    EXPECT_EQ(reply, each.lastReply);
    EXPECT_FALSE(view.editing());
    CMappedProperty* expected = each.selected ? view.itemOf(view.rows()[static_cast<std::size_t>(*each.selected)]) : nullptr;
    EXPECT_EQ(page.grid().selected(), expected);
  }
}

TEST_F(PropertyGridViewTest, AltDownOpensTheMenuOfTheSelectedItemInView) {
  view.selectRow(3);
  view.scroll(GridScroll::Bottom);
  EXPECT_EQ(view.valueButtonRect(), std::nullopt);
  EXPECT_EQ(view.onKey(GridKey::Down, true), GridReply::OpenMenu);
  EXPECT_EQ(view.selectedRow(), 3);
  ASSERT_TRUE(view.valueButtonRect());
  EXPECT_EQ(view.valueButtonRect()->top, view.rowRect(3).top);
}

TEST_F(PropertyGridViewTest, HitTestFindsBoxesCellsAndTheButton) {
  view.selectRow(1);
  int boundary = view.boundary();
  int buttonLeft = view.rowsRect().right - view.buttonWidth();
  const std::pair<GridPoint, GridHit> cases[] = {
      {inRow(0, 5), {GridPart::ExpandBox, 0}},
      {inRow(0, 100), {GridPart::GroupName, 0}},
      {inRow(0, boundary), {GridPart::GroupName, 0}},
      {inRow(1, 100), {GridPart::NameCell, 1}},
      {inRow(1, 5), {GridPart::NameCell, 1}},
      {inRow(1, boundary - 2), {GridPart::ColumnBoundary, 1}},
      {inRow(1, boundary + 3), {GridPart::ValueCell, 1}},
      {inRow(1, buttonLeft - 1), {GridPart::ValueCell, 1}},
      {inRow(1, buttonLeft), {GridPart::ValueButton, 1}},
      {inRow(2, buttonLeft + 2), {GridPart::ValueCell, 2}},
      {{100, 5}, {GridPart::Nothing, -1}},
      {{100, gridHeight - 20}, {GridPart::Description, -1}},
      {{gridWidth - 5, 100}, {GridPart::Nothing, -1}},
  };
  for (const auto& [point, hit] : cases) {
    SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
    EXPECT_EQ(view.hitTest(point), hit);
  }
  view.onKey(GridKey::Home);
  view.onKey(GridKey::Left);
  EXPECT_EQ(view.hitTest(inRow(3, 100)), (GridHit{GridPart::Nothing, -1}));
}

TEST_F(PropertyGridViewTest, ClicksSelectFoldAndOpenTheMenu) {
  EXPECT_EQ(view.onMouseDown(inRow(4, 50)), GridReply::Handled);
  EXPECT_EQ(page.grid().selected(), item(3));
  std::optional<GridRect> button = view.valueButtonRect();
  ASSERT_TRUE(button);
  EXPECT_EQ(view.onMouseDown({button->left + 2, button->top + 2}), GridReply::OpenMenu);

  view.scroll(GridScroll::Bottom);
  EXPECT_EQ(view.onMouseDown(inRow(20, 3)), GridReply::Handled);
  EXPECT_EQ(collapsedGroups(), std::set<int>{1});
  EXPECT_EQ(view.selectedRow(), 20);
  EXPECT_EQ(view.onDoubleClick(inRow(20, 100)), GridReply::Handled);
  EXPECT_EQ(collapsedGroups(), std::set<int>{});
  view.scroll(GridScroll::Top);
  EXPECT_EQ(view.onDoubleClick(inRow(0, 100)), GridReply::Handled);
  EXPECT_EQ(collapsedGroups(), std::set<int>{0});
  EXPECT_EQ(view.rows().size(), 3u);
  EXPECT_FALSE(view.needsScrollBar());
}

TEST_F(PropertyGridViewTest, FoldingTheGroupOfTheSelectedItemSelectsTheGroup) {
  view.selectRow(6);
  view.onMouseDown(inRow(0, 3));
  EXPECT_EQ(view.selectedRow(), 0);
  EXPECT_EQ(page.grid().selected(), nullptr);
  EXPECT_EQ(view.description(), (DescriptionArea{u"Exit Program Parameters", u""}));
}

TEST_F(PropertyGridViewTest, ScrollingKeepsWithinTheRowsAndFollowsTheSelection) {
  EXPECT_TRUE(view.needsScrollBar());
  EXPECT_EQ(view.maxTopRow(), 22 - 17);
  view.scrollLines(3);
  EXPECT_EQ(view.topRow(), 3);
  view.scrollLines(100);
  EXPECT_EQ(view.topRow(), 5);
  view.scroll(GridScroll::LineUp);
  EXPECT_EQ(view.topRow(), 4);
  view.scroll(GridScroll::PageUp);
  EXPECT_EQ(view.topRow(), 0);
  view.scroll(GridScroll::ToPosition, 2);
  EXPECT_EQ(view.topRow(), 2);
  view.onKey(GridKey::Home);
  EXPECT_EQ(view.topRow(), 0);
  view.onKey(GridKey::End);
  EXPECT_EQ(view.topRow(), 5);
  for (int step = 0; step < 17; ++step) view.onKey(GridKey::Up);
  EXPECT_EQ(view.selectedRow(), 4);
  EXPECT_EQ(view.topRow(), 4);
}

TEST_F(PropertyGridViewTest, RefreshTakesTheModelsSelectionAndBringsItIntoView) {
  view.scroll(GridScroll::Bottom);
  page.grid().groups()[0].expanded = false;
  page.grid().select(item(1));
  page.grid().ensureVisible(item(1));
  view.refresh();
  EXPECT_EQ(view.selectedRow(), 2);
  EXPECT_EQ(view.topRow(), 2);

  // Asked for the same item again after the administrator scrolled away from it.
  view.scroll(GridScroll::Bottom);
  page.grid().select(item(1));
  page.grid().ensureVisible(item(1));
  view.refresh();
  EXPECT_EQ(view.topRow(), 2);

  page.grid().select(nullptr);
  view.refresh();
  EXPECT_EQ(view.selectedRow(), std::nullopt);
}

TEST_F(PropertyGridViewTest, ChangedValuesAreDrawnBold) {
  const TextOperation* stored = textOperation(u"INV");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->font, PaintFont::Normal);

  view.selectRow(1);
  ASSERT_EQ(view.onKey(GridKey::F4), GridReply::OpenMenu);
  (void)item(0)->openChoiceMenu();
  page.onCommand(28417);
  view.refresh();
  EXPECT_TRUE(view.isModified(*item(0)));
  EXPECT_FALSE(view.isModified(*item(2)));
  int bold = 0;
  for (const TextOperation& each : operationsOf<TextOperation>(false)) {
    if (each.text == u"INV") bold += each.font == PaintFont::Bold;
  }
  EXPECT_EQ(bold, 1);

  (void)item(0)->openChoiceMenu();
  page.onCommand(32779);
  view.refresh();
  EXPECT_FALSE(view.isModified(*item(0)));
  // Laying out again does not forget what the values were at first.
  (void)item(2)->openChoiceMenu();
  page.onCommand(32779);
  view.layOut();
  EXPECT_TRUE(view.isModified(*item(2)));
}

TEST_F(PropertyGridViewTest, RequiredNamesAreRedOthersInTheWindowTextColour) {
  const TextOperation* required = textOperation(u"Parameter 2");
  ASSERT_TRUE(required);
  EXPECT_EQ(required->colour, (PaintColour{SystemColour::WindowText, true, 0x0000BF}));
  const TextOperation* plain = textOperation(u"Parameter 1");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->colour, PaintColour::of(SystemColour::WindowText));
  view.scroll(GridScroll::Bottom);
  const TextOperation* value = textOperation(u"ABC");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->colour, PaintColour::of(SystemColour::WindowText));

  view.selectRow(2);
  const TextOperation* selected = textOperation(u"Parameter 2", true);
  ASSERT_TRUE(selected);
  EXPECT_EQ(selected->colour, PaintColour::of(SystemColour::HighlightText));
  EXPECT_EQ(operationsOf<ButtonOperation>(true).size(), 1u);
}

TEST_F(PropertyGridViewTest, DescriptionAreaShowsTheSelectedItemBelowTheRows) {
  view.selectRow(1);
  const TextOperation* title = nullptr;
  const TextOperation* text = nullptr;
  std::vector<TextOperation> texts = operationsOf<TextOperation>(true);
  for (const TextOperation& each : texts) {
    if (each.rect.top >= view.descriptionRect().top && each.font == PaintFont::Bold) title = &each;
    if (each.multiLine) text = &each;
  }
  ASSERT_TRUE(title && text);
  EXPECT_EQ(title->text, u"Parameter 1");
  EXPECT_EQ(text->text, u"PARM1 - CHAR(1024)\nParameter description.");
  EXPECT_GE(text->rect.height(), 2 * 13);
  EXPECT_LE(text->rect.bottom, gridHeight);
}

TEST_F(PropertyGridViewTest, ATextConstantIsTypedInPlace) {
  // Parameter 20 holds the constant ABC.
  view.scroll(GridScroll::Bottom);
  view.onMouseDown(inRow(21, view.boundary() + 20));
  ASSERT_TRUE(view.editing());
  EXPECT_EQ(view.editText(), u"ABC");
  std::optional<GridRect> box = view.editRect();
  ASSERT_TRUE(box);
  EXPECT_GT(box->left, view.boundary());
  EXPECT_LE(box->right, view.valueButtonRect()->left);
  // The edit box shows the text; the cell under it does not draw it again.
  EXPECT_EQ(textOperation(u"ABC", true), nullptr);

  view.setEditText(u"XYZ");
  view.endEdit();
  EXPECT_FALSE(view.editing());
  EXPECT_EQ(table.row(19).source, u"XYZ");

  EXPECT_TRUE(view.takesEnter());
  EXPECT_EQ(view.onKey(GridKey::Enter), GridReply::Handled);
  view.setEditText(u"dropped");
  view.cancelEdit();
  EXPECT_EQ(table.row(19).source, u"XYZ");

  EXPECT_EQ(view.onKey(GridKey::F2), GridReply::Handled);
  view.setEditText(u"kept");
  view.onKey(GridKey::Up);
  EXPECT_FALSE(view.editing());
  EXPECT_EQ(table.row(19).source, u"kept");
}

TEST_F(PropertyGridViewTest, MovingAwayEndsTheEditWithWhatWasTyped) {
  struct Case {
    const char16_t* name;
    void (*moveAway)(PropertyGridView&);
  };
  const Case cases[] = {
      {u"a click on another row", [](PropertyGridView& grid) { grid.onMouseDown({50, grid.rowRect(1).top + 3}); }},
      {u"the wheel", [](PropertyGridView& grid) { grid.scrollLines(-3); }},
      {u"the value button", [](PropertyGridView& grid) { EXPECT_EQ(grid.onKey(GridKey::F4), GridReply::OpenMenu); }},
      {u"folding its group", [](PropertyGridView& grid) { grid.onMouseDown({3, grid.rowRect(20).top + 3}); }},
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(std::string(each.name, each.name + std::char_traits<char16_t>::length(each.name)));
    view.scroll(GridScroll::Bottom);
    view.selectRow(21);
    ASSERT_TRUE(view.startEdit());
    view.setEditText(each.name);
    each.moveAway(view);
    EXPECT_FALSE(view.editing());
    EXPECT_EQ(table.row(19).source, each.name);
    page.grid().groups()[1].expanded = true;
    view.layOut();
  }
}

TEST_F(PropertyGridViewTest, OnlyTextConstantsAreTypedIn) {
  view.onMouseDown(inRow(3, view.boundary() + 20));
  EXPECT_EQ(view.selectedRow(), 3);
  EXPECT_FALSE(view.editing());
  EXPECT_FALSE(view.takesEnter());
  EXPECT_FALSE(view.startEdit());
}

TEST_F(PropertyGridViewTest, ChoosingTextConstantOpensTheEmptyValueForTyping) {
  view.selectRow(4);
  (void)item(3)->openChoiceMenu();
  page.onCommand(32777);
  view.refresh();
  EXPECT_TRUE(view.editing());
  EXPECT_EQ(view.editItem(), item(3));
  EXPECT_EQ(view.editText(), u"");
  view.setEditText(u"Invoice");
  view.onKey(GridKey::Down);
  EXPECT_EQ(table.row(3).source, u"Invoice");
  EXPECT_EQ(table.row(3).sourceType, KFX_REL_TEXTCONSTANT);

  // The menu of a row being typed in closes the edit box; a choice that is no text constant
  // drops it.
  view.selectRow(4);
  view.startEdit();
  (void)item(3)->openChoiceMenu();
  page.onCommand(32779);
  view.refresh();
  EXPECT_FALSE(view.editing());
  EXPECT_EQ(table.row(3).sourceType, KFX_REL_UNDEFINED_LINK);
}

}  // namespace
}  // namespace quorlex
