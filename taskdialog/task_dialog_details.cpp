// CXTaskDialog's details: expanding and collapsing, at once or animated in steps of a tenth.

#include <algorithm>
#include <utility>

#include "taskdialog/task_dialog.h"

namespace quorlex {
namespace {

constexpr std::uintptr_t animationTimerId = 2;
constexpr std::uint32_t animationPeriod = 25;

}  // namespace

// Controls placed below details in the main area, which wait hidden while the window animates.
std::vector<int> CXTaskDialog::controlsBelowDetails() const {
  const ElementIds& ids = layout_.ids;
  std::vector<int> below;
  for (int id : {ids.detailsButton, ids.verification, ids.footerIcon, ids.footer}) {
    if (id != -1) below.push_back(id);
  }
  below.insert(below.end(), layout_.commonButtonIds.begin(), layout_.commonButtonIds.end());
  below.insert(below.end(), layout_.customPushButtonIds.begin(),
               layout_.customPushButtonIds.end());
  return below;
}

void CXTaskDialog::moveControl(int id, int dy) {
  if (id == -1) return;
  const Rect rect = window_->controlRect(id);
  window_->moveControl(id, {rect.left, rect.top + dy});
}

void CXTaskDialog::growWindow(int dy) {
  const Rect frame = window_->windowRect();
  window_->resizeWindow({frame.width(), frame.height() + dy});
}

void CXTaskDialog::toggleDetails() {
  IDialogWindow& window = *window_;
  const ElementIds& ids = layout_.ids;
  expanded_ = !expanded_;
  window.setControlText(ids.detailsButton,
                        expanded_ ? texts_.expandedControl : texts_.collapsedControl);
  const bool inMainArea = !detailsInFooter();
  if (animate_) {
    window.showControl(ids.details, false);
    if (inMainArea) {
      for (int id : controlsBelowDetails()) window.showControl(id, false);
    }
  }
  const int detailsHeight = window.controlRect(ids.details).height();
  if (inMainArea) {
    const int delta = detailsHeight + 10;
    const int d = expanded_ ? delta : -delta;
    for (int id : layout_.commandLinkIds) moveControl(id, d);
    for (int id : layout_.radioButtonIds) moveControl(id, d);
    moveControl(ids.progressBar, d);
    if (animate_) {
      animation_ = {delta, 0, sep1_ + d, sep2_ == -1 ? -1 : sep2_ + d, sep3_};
      sep1_ = sep2_ = sep3_ = -1;
    } else {
      for (int id : controlsBelowDetails()) moveControl(id, d);
      window.showControl(ids.details, expanded_);
      sep1_ += d;
      if (sep2_ != -1) sep2_ += d;
      growWindow(d);
    }
  } else {
    const int clientBottom = window.clientRect().bottom;
    const int delta = detailsHeight + 20 - (window.windowBottomInClient() - clientBottom);
    if (animate_) {
      animation_ = {delta, 0, sep1_, sep2_, expanded_ ? clientBottom : -1};
      sep3_ = -1;
    } else {
      growWindow(expanded_ ? delta : -delta);
      window.showControl(ids.details, expanded_);
      sep3_ = expanded_ ? clientBottom : -1;
    }
  }
  if (animate_) {
    window.invalidate();
    window.updateNow();
    animationTimer_ = window.startTimer(animationTimerId, animationPeriod);
  }
  notify(TDN_EXPANDO_BUTTON_CLICKED, expanded_ ? 1 : 0, 0);
}

void CXTaskDialog::animationStep() {
  IDialogWindow& window = *window_;
  const ElementIds& ids = layout_.ids;
  const int step = std::max(animation_.delta / 10, 1);
  animation_.progress += step;
  growWindow(expanded_ ? step : -step);
  if (animation_.progress < animation_.delta) return;

  window.stopTimer(std::exchange(animationTimer_, 0));
  const bool inMainArea = !detailsInFooter();
  if (inMainArea) {
    const int d = expanded_ ? animation_.delta : -animation_.delta;
    for (int id : controlsBelowDetails()) moveControl(id, d);
  }
  sep1_ = animation_.pendingSep1;
  sep2_ = animation_.pendingSep2;
  sep3_ = animation_.pendingSep3;
  if (expanded_) window.showControl(ids.details, true);
  if (inMainArea) {
    for (int id : controlsBelowDetails()) window.showControl(id, true);
    if (ids.progressBar != -1) window.showControl(ids.progressBar, true);
    for (int id : layout_.commandLinkIds) window.showControl(id, true);
    for (int id : layout_.radioButtonIds) window.showControl(id, true);
  }
  window.setFocus(ids.detailsButton);
  window.invalidate();
}

}  // namespace quorlex
