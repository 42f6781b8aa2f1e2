// CXTaskDialog once its window exists: initialisation, commands, timers, the task-dialog
// messages, the background and the end.

#include <algorithm>
#include <new>
#include <utility>

#include "taskdialog/background_bands.h"
#include "taskdialog/task_dialog.h"
#include "taskdialog/task_dialog_texts.h"

namespace quorlex {
namespace {

constexpr std::uintptr_t callbackTimerId = 1;
constexpr std::uint32_t callbackTimerPeriod = 200;
constexpr std::uint32_t marqueePeriodAtStart = 20;
constexpr int commonButtonIds[] = {idOk, idYes, idNo, idCancel, idRetry, idClose};

// Message-box types whose alert sounds go with the standard icons.
constexpr std::uint32_t alertHand = 0x10;
constexpr std::uint32_t alertExclamation = 0x30;
constexpr std::uint32_t alertAsterisk = 0x40;

// A command names a control by the low 16 bits of its id; an absent element (−1) names none.
bool names(int elementId, int commandId) {
  return elementId != -1 && static_cast<std::uint16_t>(elementId) == commandId;
}

}  // namespace

CallbackResult CXTaskDialog::notify(std::uint32_t code, WParam wParam, LParam lParam) {
  if (config_->pfCallback == nullptr) return callbackContinue;
  WindowHandle dialog = window_ != nullptr ? window_->handle() : nullptr;
  return config_->pfCallback(dialog, code, wParam, lParam, config_->lpCallbackData);
}

bool CXTaskDialog::cancellable() const {
  return (flags() & TDF_ALLOW_DIALOG_CANCELLATION) != 0 ||
         (commonButtonsOf(*config_) & TDCBF_CANCEL_BUTTON) != 0;
}

bool CXTaskDialog::isRadioButton(int id) const {
  return std::any_of(radioButtons_.begin(), radioButtons_.end(),
                     [id](const ButtonText& radio) { return radio.id == id; });
}

LResult CXTaskDialog::onInitDialog(IDialogWindow& window) {
  window_ = &window;
  const std::uint32_t f = flags();
  const ElementIds& ids = layout_.ids;
  notify(TDN_DIALOG_CONSTRUCTED, 0, 0);
  if ((f & TDF_POSITION_RELATIVE_TO_WINDOW) == 0) centreOnMonitor();
  setFonts();
  if (ids.verification != -1) {
    window.setChecked(ids.verification, (f & TDF_VERIFICATION_FLAG_CHECKED) != 0);
  }
  if ((f & TDF_SHOW_MARQUEE_PROGRESS_BAR) != 0 && ids.progressBar != -1) {
    window.startMarquee(ids.progressBar, marqueePeriodAtStart);
  }
  if (ids.defaultButton != -1) window.setFocus(ids.defaultButton);
  if (!radioButtons_.empty() && (f & TDF_NO_DEFAULT_RADIO_BUTTON) == 0) {
    const int start =
        config_->nDefaultRadioButton != 0 ? config_->nDefaultRadioButton : radioButtons_[0].id;
    if (isRadioButton(start)) window.setChecked(start, true);
  }
  if (!cancellable()) window.disableCloseMenuItem();
  if ((f & TDF_CAN_BE_MINIMIZED) != 0) window.setWindowIcons(mainIcon_.get(), mainIcon_.get());
  attachSubclasses();
  if ((f & TDF_CALLBACK_TIMER) != 0) {
    callbackTimer_ = window.startTimer(callbackTimerId, callbackTimerPeriod);
  }
  tickBase_ = services_.runner.tickCount();
  playCreationSound();
  notify(TDN_CREATED, 0, 0);
  return 0;
}

void CXTaskDialog::centreOnMonitor() {
  const std::optional<Rect> area = services_.display.monitorWorkAreaNearest(config_->hwndParent);
  if (!area) return;
  const Rect frame = window_->windowRect();
  window_->moveWindow({area->left + (area->width() - frame.width()) / 2,
                       area->top + (area->height() - frame.height()) / 2});
}

void CXTaskDialog::setFonts() {
  IDialogWindow& window = *window_;
  const ElementIds& ids = layout_.ids;
  FontHandle normal = normalFont_.get();
  for (int id : commonButtonIds) {
    if (window.hasControl(id)) window.setControlFont(id, normal);
  }
  for (int id : {ids.content, ids.details, ids.detailsButton, ids.progressBar, ids.verification,
                 ids.footer}) {
    if (id != -1) window.setControlFont(id, normal);
  }
  for (int id : layout_.radioButtonIds) window.setControlFont(id, normal);
  if (ids.instruction != -1) window.setControlFont(ids.instruction, largeFont_.get());
  for (int id : layout_.commandLinkIds) window.setControlFont(id, largeFont_.get());
  for (int id : layout_.customPushButtonIds) window.setControlFont(id, normal);
}

void CXTaskDialog::attachSubclasses() {
  IDialogWindow& window = *window_;
  const ElementIds& ids = layout_.ids;
  const BrushHandle* whiteBrush = whiteBrush_.address();
  const BrushHandle* greyBrush = greyBrush_.address();
  if (ids.mainIcon != -1) {
    mainIconStatic_.initialise(mainIcon_.address(), true);
    window.attach(ids.mainIcon, mainIconStatic_);
  }
  if (ids.footerIcon != -1) {
    footerIconStatic_.initialise(footerIcon_.address(), false);
    window.attach(ids.footerIcon, footerIconStatic_);
  }
  if (ids.instruction != -1) {
    instructionStatic_.initialise(instructionBlue, white, whiteBrush);
    window.attach(ids.instruction, instructionStatic_);
  }
  if (ids.content != -1) {
    contentStatic_.initialise(bodyTextColour_, white, whiteBrush);
    window.attach(ids.content, contentStatic_);
  }
  if (ids.details != -1) {
    if (detailsInFooter()) {
      detailsStatic_.initialise(bodyTextColour_, bandGrey, greyBrush);
    } else {
      detailsStatic_.initialise(bodyTextColour_, white, whiteBrush);
    }
    window.attach(ids.details, detailsStatic_);
  }
  radioButtonSubclasses_.clear();
  commandLinks_.clear();
  try {
    for (int id : layout_.radioButtonIds) {
      auto& radio = radioButtonSubclasses_.emplace_back(std::make_unique<CXTaskDialogButton>());
      radio->initialise(white, whiteBrush);
      window.attach(id, *radio);
    }
    const bool glyph = (flags() & TDF_USE_COMMAND_LINKS_NO_ICON) == 0;
    for (int id : layout_.commandLinkIds) {
      auto& link = commandLinks_.emplace_back(std::make_unique<CXTaskDialogCommandLink>());
      if (!link->initialise(services_.graphics, largeFont_.get(), normalFont_.get(),
                            glyph ? icons_.arrow.get() : nullptr,
                            glyph ? icons_.hotArrow.get() : nullptr)) {
        window.postClose();
      }
      if (glyph) window.setButtonImage(id, icons_.arrow.get());
      window.attach(id, *link);
    }
  } catch (const std::bad_alloc&) {
    window.postClose();
  }
  if (ids.footer != -1) {
    footerStatic_.initialise(bodyTextColour_, bandGrey, greyBrush);
    window.attach(ids.footer, footerStatic_);
  }
  if (ids.verification != -1) {
    verificationButton_.initialise(white, greyBrush);
    window.attach(ids.verification, verificationButton_);
  }
}

void CXTaskDialog::playCreationSound() {
  if ((flags() & TDF_USE_HICON_MAIN) != 0) return;
  switch (textOrIdValue(config_->pszMainIcon)) {
    case errorIconId: services_.runner.playAlert(alertHand); break;
    case warningIconId: services_.runner.playAlert(alertExclamation); break;
    case informationIconId: services_.runner.playAlert(alertAsterisk); break;
    default: break;
  }
}

void CXTaskDialog::onCommand(WParam wParam, LParam) {
  if (window_ == nullptr) return;
  const int id = static_cast<int>(wParam & 0xFFFF);
  const ElementIds& ids = layout_.ids;
  if (std::any_of(radioButtons_.begin(), radioButtons_.end(),
                  [id](const ButtonText& radio) { return names(radio.id, id); })) {
    notify(TDN_RADIO_BUTTON_CLICKED, wParam, 0);
    return;
  }
  if (names(ids.detailsButton, id)) {
    toggleDetails();
    return;
  }
  if (names(ids.verification, id)) {
    notify(TDN_VERIFICATION_CLICKED, window_->isChecked(ids.verification) ? 1 : 0, 0);
    return;
  }
  // Escape and the close box arrive as id 2 as well.
  if (id == idCancel && !cancellable()) return;
  if (notify(TDN_BUTTON_CLICKED, static_cast<WParam>(id), 0) == callbackVeto) return;
  endWith(id);
}

void CXTaskDialog::endWith(int id) {
  const int verification = layout_.ids.verification;
  verificationAnswer_ = verification != -1 && window_->isChecked(verification);
  radioAnswer_ = -1;
  for (const ButtonText& radio : radioButtons_) {
    if (window_->isChecked(radio.id)) {
      radioAnswer_ = radio.id;
      break;
    }
  }
  window_->endDialog(id);
}

void CXTaskDialog::onTimer(WParam timerId) {
  if (window_ == nullptr) return;
  if (callbackTimer_ != 0 && timerId == callbackTimer_) {
    const std::uint32_t now = services_.runner.tickCount();
    if (notify(TDN_TIMER, now - tickBase_, 0) == callbackVeto) tickBase_ = now;
  } else if (animationTimer_ != 0 && timerId == animationTimer_) {
    animationStep();
  }
}

LResult CXTaskDialog::onEraseBackground(IPainter& painter) {
  if (window_ == nullptr) return 0;
  const Rect client = window_->clientRect();
  for (const Band& band : backgroundBands({client.width(), client.height()}, sep1_, sep2_, sep3_)) {
    painter.fillRect(band.rect, band.colour);
  }
  return 1;
}

void CXTaskDialog::onHelp() { notify(TDN_HELP, 0, 0); }

void CXTaskDialog::onClick(LParam linkTarget) { notify(TDN_HYPERLINK_CLICKED, 0, linkTarget); }

void CXTaskDialog::onDestroy() {
  if (window_ == nullptr) return;
  if (callbackTimer_ != 0) window_->stopTimer(std::exchange(callbackTimer_, 0));
  if (animationTimer_ != 0) window_->stopTimer(std::exchange(animationTimer_, 0));
  notify(TDN_DESTROYED, 0, 0);
  window_ = nullptr;
}

std::optional<int> CXTaskDialog::elementControl(WParam element) const {
  const ElementIds& ids = layout_.ids;
  int id = -1;
  switch (element) {
    case TDE_CONTENT: id = ids.content; break;
    case TDE_EXPANDED_INFORMATION: id = ids.details; break;
    case TDE_FOOTER: id = ids.footer; break;
    case TDE_MAIN_INSTRUCTION: id = ids.instruction; break;
    default: break;
  }
  if (id == -1) return std::nullopt;
  return id;
}

LResult CXTaskDialog::setElementText(WParam element, LParam text, bool reportMissing) {
  const std::optional<int> id = elementControl(element);
  if (!id) return reportMissing ? 0 : 1;
  ITaskDialogResources& resources = services_.resources;
  const LoadedText loaded =
      LoadText(resources, resources.componentModule(), reinterpret_cast<RecordText>(text));
  if (loaded.result == resultOk) window_->setControlText(*id, loaded.text);
  return 1;
}

void CXTaskDialog::clickRadioButton(int id) {
  if (!isRadioButton(id)) return;
  for (const ButtonText& radio : radioButtons_) window_->setChecked(radio.id, radio.id == id);
  window_->setFocus(id);
}

void CXTaskDialog::setElevation(int buttonId, bool required) {
  if (!window_->hasControl(buttonId)) return;
  IconHandle image = nullptr;
  if (required) {
    image = icons_.small[StandardIcons::index(shieldIconId)].get();
  } else if (std::find(layout_.commandLinkIds.begin(), layout_.commandLinkIds.end(), buttonId) !=
                 layout_.commandLinkIds.end() &&
             (flags() & TDF_USE_COMMAND_LINKS_NO_ICON) == 0) {
    // Only a command link has an arrow to go back to; a push button loses its image.
    image = icons_.arrow.get();
  }
  window_->setButtonImage(buttonId, image);
}

void CXTaskDialog::updateIcon(WParam which, LParam icon) {
  const auto value = static_cast<std::uintptr_t>(icon);
  const ElementIds& ids = layout_.ids;
  if (which != TDIE_ICON_MAIN) {
    footerIcon_.reset();
    if (value != 0) footerIcon_ = iconFor(value, (flags() & TDF_USE_HICON_FOOTER) != 0, false);
    if (ids.footerIcon != -1) window_->invalidateControl(ids.footerIcon);
    return;
  }
  mainIcon_.reset();
  if (value != 0) mainIcon_ = iconFor(value, (flags() & TDF_USE_HICON_MAIN) != 0, true);
  if (ids.mainIcon != -1) window_->invalidateControl(ids.mainIcon);
  if ((flags() & TDF_CAN_BE_MINIMIZED) != 0) {
    window_->setWindowIcons(mainIcon_.get(), mainIcon_.get());
    if (!mainIcon_) window_->invalidate();
  }
}

std::optional<LResult> CXTaskDialog::onTaskDialogMessage(std::uint32_t message, WParam wParam,
                                                         LParam lParam) {
  // Only while the window exists: a callback may still send messages after TDN_DESTROYED.
  if (window_ == nullptr) return std::nullopt;
  IDialogWindow& window = *window_;
  const int progress = layout_.ids.progressBar;
  const int verification = layout_.ids.verification;
  switch (message) {
    case TDM_CLICK_BUTTON: {
      const int id = static_cast<int>(wParam);
      if (!window.hasControl(id)) return 0;
      window.setFocus(id);
      return window.postCommand(wParam, lParam) ? 1 : 0;
    }
    case TDM_SET_MARQUEE_PROGRESS_BAR:
      if (progress != -1) {
        window.setMarqueeStyle(progress, wParam != 0);
        if (wParam != 0) window.startMarquee(progress, static_cast<std::uint32_t>(lParam));
      }
      return static_cast<LResult>(wParam);
    case TDM_SET_PROGRESS_BAR_STATE:
      if (progress != -1) window.setProgressState(progress, wParam);
      return 1;
    case TDM_SET_PROGRESS_BAR_RANGE:
      return progress != -1 ? window.setProgressRange(progress, lParam) : 0;
    case TDM_SET_PROGRESS_BAR_POS:
      return progress != -1 ? window.setProgressPosition(progress, wParam) : 0;
    case TDM_SET_ELEMENT_TEXT:
      return setElementText(wParam, lParam, false);
    case TDM_UPDATE_ELEMENT_TEXT:
      return setElementText(wParam, lParam, true);
    case TDM_CLICK_RADIO_BUTTON:
      clickRadioButton(static_cast<int>(wParam));
      return 0;
    case TDM_ENABLE_BUTTON:
      window.enableControl(static_cast<int>(wParam), lParam != 0);
      return 0;
    case TDM_ENABLE_RADIO_BUTTON:
      if (isRadioButton(static_cast<int>(wParam))) {
        window.enableControl(static_cast<int>(wParam), lParam != 0);
      }
      return 0;
    case TDM_CLICK_VERIFICATION:
      if (verification != -1) {
        window.setChecked(verification, wParam != 0);
        if (lParam != 0) window.setFocus(verification);
      }
      return 0;
    case TDM_SET_BUTTON_ELEVATION_REQUIRED_STATE:
      setElevation(static_cast<int>(wParam), lParam != 0);
      return 0;
    case TDM_UPDATE_ICON:
      updateIcon(wParam, lParam);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace quorlex
