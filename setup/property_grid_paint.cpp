#include "setup/property_grid_paint.h"

#include <algorithm>

namespace quorlex {
namespace {

class Painting {
 public:
  Painting(const PropertyGridView& view, bool focused) : view_(view), focused_(focused) {}

  std::vector<PaintOperation> take() { return std::move(operations_); }

  void fill(const GridRect& rect, SystemColour colour) {
    if (rect.width() > 0 && rect.height() > 0) operations_.push_back(FillOperation{rect, PaintColour::of(colour)});
  }
  void text(const GridRect& rect, std::u16string_view text, PaintFont font, PaintColour colour, bool multiLine = false) {
    if (!text.empty() && rect.width() > 0) operations_.push_back(TextOperation{rect, std::u16string(text), font, colour, multiLine});
  }
  void frame(const GridRect& rect, SystemColour colour) {
    fill({rect.left, rect.top, rect.right, rect.top + 1}, colour);
    fill({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
    fill({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
    fill({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
  }

  void rows() {
    GridRect area = view_.rowsRect();
    fill(area, SystemColour::Window);
    int last = std::min(static_cast<int>(view_.rows().size()), view_.topRow() + view_.pageRows());
    for (int row = view_.topRow(); row < last; ++row) {
      if (view_.rows()[static_cast<std::size_t>(row)].isGroup()) {
        groupRow(row);
      } else {
        itemRow(row);
      }
    }
  }

  void groupRow(int row) {
    const GridRow& shown = view_.rows()[static_cast<std::size_t>(row)];
    GridRect whole = view_.rowRect(row);
    bool selected = view_.selectedRow() == row;
    fill(whole, SystemColour::ButtonFace);
    expandBox(view_.expandBoxRect(row), view_.groupOf(shown).expanded);
    GridRect name = view_.nameCellRect(row);
    if (selected) fill({name.left, name.top, name.right, name.bottom - 1}, selectionBackground());
    int pad = view_.textPadding();
    text({name.left + pad, name.top, name.right - pad, name.bottom - 1}, view_.groupOf(shown).name, PaintFont::Bold,
         PaintColour::of(selected && focused_ ? SystemColour::HighlightText : SystemColour::WindowText));
  }

  void expandBox(const GridRect& box, bool expanded) {
    frame(box, SystemColour::ButtonShadow);
    fill({box.left + 1, box.top + 1, box.right - 1, box.bottom - 1}, SystemColour::Window);
    int middleX = box.left + box.width() / 2;
    int middleY = box.top + box.height() / 2;
    fill({box.left + 2, middleY, box.right - 2, middleY + 1}, SystemColour::WindowText);
    if (!expanded) fill({middleX, box.top + 2, middleX + 1, box.bottom - 2}, SystemColour::WindowText);
  }

  void itemRow(int row) {
    CMappedProperty& item = *view_.itemOf(view_.rows()[static_cast<std::size_t>(row)]);
    GridRect whole = view_.rowRect(row);
    bool selected = view_.selectedRow() == row;
    int pad = view_.textPadding();
    int lineTop = whole.bottom - 1;
    fill({0, whole.top, view_.gutterWidth(), whole.bottom}, SystemColour::ButtonFace);

    GridRect name = view_.nameCellRect(row);
    if (selected) fill({name.left, name.top, name.right, lineTop}, selectionBackground());
    PaintColour nameColour = selected && focused_ ? PaintColour::of(SystemColour::HighlightText) : PaintColour::of(item.nameColour());
    text({name.left + pad, name.top, name.right - pad, lineTop}, item.name(), PaintFont::Normal, nameColour);
    fill({name.right, whole.top, name.right + 1, whole.bottom}, SystemColour::ButtonFace);

    GridRect value = view_.valueCellRect(row);
    if (view_.editItem() != &item) {
      PaintFont font = view_.isModified(item) ? PaintFont::Bold : PaintFont::Normal;
      text({value.left + pad, value.top, value.right - pad, lineTop}, item.value(), font, PaintColour::of(item.valueColour()));
    }
    fill({name.left, lineTop, whole.right, whole.bottom}, SystemColour::ButtonFace);
    if (selected) {
      if (std::optional<GridRect> button = view_.valueButtonRect()) operations_.push_back(ButtonOperation{*button});
    }
  }

  void description() {
    GridRect rows = view_.rowsRect();
    GridRect area = view_.descriptionRect();
    fill({0, rows.bottom, area.right, area.top}, SystemColour::ButtonFace);
    fill(area, SystemColour::ButtonFace);
    frame(area, SystemColour::ButtonShadow);
    DescriptionArea shown = view_.description();
    int pad = view_.textPadding();
    int lineHeight = view_.metrics().textHeight;
    GridRect title{area.left + 2 * pad, area.top + pad, area.right - 2 * pad, area.top + pad + lineHeight};
    text(title, shown.title, PaintFont::Bold, PaintColour::of(SystemColour::WindowText));
    GridRect body{title.left, title.bottom + 1, title.right, area.bottom - pad};
    text(body, shown.text, PaintFont::Normal, PaintColour::of(SystemColour::WindowText), true);
  }

 private:
  SystemColour selectionBackground() const { return focused_ ? SystemColour::Highlight : SystemColour::ButtonFace; }

  const PropertyGridView& view_;
  bool focused_;
  std::vector<PaintOperation> operations_;
};

}  // namespace

std::vector<PaintOperation> paintPropertyGrid(const PropertyGridView& view, bool focused) {
  Painting painting(view, focused);
  painting.rows();
  painting.description();
  return painting.take();
}

}  // namespace quorlex
