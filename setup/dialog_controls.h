#pragma once
// A page's dialog controls as its data exchange reaches them: texts by control id, showing
// a hidden control, the length limit of an edit box, and refusing a value.

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace quorlex {

class IDialogControls {
 public:
  virtual ~IDialogControls() = default;
  virtual void setText(std::int32_t controlId, std::u16string_view text) = 0;
  virtual std::u16string text(std::int32_t controlId) = 0;
  virtual void show(std::int32_t controlId) = 0;
  virtual void limitText(std::int32_t controlId, std::size_t maxUnits) = 0;
  // Tells the administrator why the control's value is refused and puts the focus there.
  virtual void refuse(std::int32_t controlId, std::u16string_view message) = 0;
};

// Controls without a window: what a page's texts would be, for headless sheets and tests.
class ControlTexts final : public IDialogControls {
 public:
  void setText(std::int32_t controlId, std::u16string_view text) override { texts_[controlId] = text; }
  std::u16string text(std::int32_t controlId) override { return texts_[controlId]; }
  void show(std::int32_t controlId) override { shown_.insert(controlId); }
  void limitText(std::int32_t controlId, std::size_t maxUnits) override { limits_[controlId] = maxUnits; }
  void refuse(std::int32_t controlId, std::u16string_view message) override {
    refusedControl_ = controlId;
    refusal_ = message;
  }

  bool isShown(std::int32_t controlId) const { return shown_.count(controlId) != 0; }
  std::size_t limit(std::int32_t controlId) const;
  std::int32_t refusedControl() const { return refusedControl_; }
  const std::u16string& refusal() const { return refusal_; }

 private:
  std::map<std::int32_t, std::u16string> texts_;
  std::set<std::int32_t> shown_;
  std::map<std::int32_t, std::size_t> limits_;
  std::int32_t refusedControl_ = 0;
  std::u16string refusal_;
};

inline std::size_t ControlTexts::limit(std::int32_t controlId) const {
  auto found = limits_.find(controlId);
  return found == limits_.end() ? 0 : found->second;
}

}  // namespace quorlex
