#pragma once
// CXTaskDialog, the subsystem's own task dialog for where the platform has none: it takes the
// same request and answers the same way as the platform's TaskDialogIndirect. One object serves
// one call.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/result_code.h"
#include "taskdialog/command_link.h"
#include "taskdialog/dialog_window.h"
#include "taskdialog/graphics.h"
#include "taskdialog/own_dialog_services.h"
#include "taskdialog/task_dialog_controls.h"
#include "taskdialog/task_dialog_layout.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

class CXTaskDialog : public IDialogMessages {
 public:
  explicit CXTaskDialog(const OwnDialogServices& services);
  ~CXTaskDialog() override;
  CXTaskDialog(const CXTaskDialog&) = delete;
  CXTaskDialog& operator=(const CXTaskDialog&) = delete;

  // Prepares, lays out and runs the dialog. 0 on success, with the answers written: the id that
  // ended the dialog (−1 when the window could not be created), the ticked radio button or −1,
  // 1 or 0 for the check box. A failure code when a resource, font, device context or the
  // template cannot be made; nothing is shown and the answers stay as they were.
  ResultCode TaskDialogIndirect(const TASKDIALOGCONFIG* config, int* button, int* radioButton,
                                int* verification);

  // The dialog's window messages.
  LResult onInitDialog(IDialogWindow& window) override;
  void onCommand(WParam wParam, LParam lParam) override;
  void onTimer(WParam timerId) override;
  LResult onEraseBackground(IPainter& painter) override;
  void onHelp() override;
  void onClick(LParam linkTarget) override;
  void onDestroy() override;
  std::optional<LResult> onTaskDialogMessage(std::uint32_t message, WParam wParam,
                                             LParam lParam) override;

  // What the last layout made; also what the window's behaviour works on.
  const TaskDialogLayout& layout() const { return layout_; }
  const std::vector<std::uint8_t>& dialogTemplate() const { return template_; }
  bool expanded() const { return expanded_; }
  bool animates() const { return animate_; }

 protected:
  // Replaces the common-button texts with string resources 11005 to 11010 of the component's
  // module, each one that loads. Always succeeds.
  virtual void LoadCommonButtonTexts();

  CommonButtonTexts commonButtonTexts_ = defaultCommonButtonTexts();

 private:
  struct StandardIcons {
    OwnedIcon arrow;
    OwnedIcon hotArrow;
    // Indexed by 0xFFFF − id: warning, error, information, shield.
    std::array<OwnedIcon, 4> small;
    std::array<OwnedIcon, 4> large;
    static std::size_t index(std::uintptr_t standardId) { return warningIconId - standardId; }
  };
  struct Animation {
    int delta = 0;     // pixels the window changes by
    int progress = 0;  // pixels done
    int pendingSep1 = -1;
    int pendingSep2 = -1;
    int pendingSep3 = -1;
  };

  ResultCode makeBrushesAndIcons();
  ResultCode loadTexts();
  ResultCode loadMainIcon();
  void loadFooterIcon();
  OwnedIcon iconFor(std::uintptr_t value, bool useHandle, bool large);
  ResultCode BuildTemplate();
  ResultCode loadButtonTexts(std::vector<ButtonText>& out, const TASKDIALOG_BUTTON* buttons,
                             std::uint32_t count);
  ResultCode lastErrorResult();

  CallbackResult notify(std::uint32_t code, WParam wParam, LParam lParam);
  void centreOnMonitor();
  void setFonts();
  void attachSubclasses();
  void playCreationSound();
  std::optional<int> elementControl(WParam element) const;
  LResult setElementText(WParam element, LParam text, bool reportMissing);
  void updateIcon(WParam which, LParam icon);
  void setElevation(int buttonId, bool required);
  void clickRadioButton(int id);
  void endWith(int id);

  void toggleDetails();
  void animationStep();
  std::vector<int> controlsBelowDetails() const;
  void moveControl(int id, int dy);
  void growWindow(int dy);
  void showBelowDetails(bool show);

  bool isRadioButton(int id) const;
  bool detailsInFooter() const { return (flags() & TDF_EXPAND_FOOTER_AREA) != 0; }
  bool hasCommandLinks() const { return (flags() & TDF_USE_COMMAND_LINKS) != 0; }
  bool cancellable() const;
  std::uint32_t flags() const { return flagsOf(*config_); }

  OwnDialogServices services_;
  const TASKDIALOGCONFIG* config_ = nullptr;
  ModuleHandle module_ = nullptr;

  TaskDialogTexts texts_;
  std::vector<ButtonText> customButtons_;
  std::vector<ButtonText> radioButtons_;
  Colour bodyTextColour_ = 0;
  OwnedBrush whiteBrush_;
  OwnedBrush greyBrush_;
  StandardIcons icons_;
  OwnedIcon mainIcon_;
  OwnedIcon footerIcon_;
  OwnedFont normalFont_;
  OwnedFont largeFont_;
  TaskDialogLayout layout_;
  std::vector<std::uint8_t> template_;
  bool expanded_ = false;

  IDialogWindow* window_ = nullptr;
  bool animate_ = true;
  std::uintptr_t callbackTimer_ = 0;
  std::uintptr_t animationTimer_ = 0;
  std::uint32_t tickBase_ = 0;
  bool verificationAnswer_ = false;
  int radioAnswer_ = -1;
  Animation animation_;
  int sep1_ = -1;
  int sep2_ = -1;
  int sep3_ = -1;

  CXTaskDialogIconStatic mainIconStatic_;
  CXTaskDialogIconStatic footerIconStatic_;
  CXTaskDialogStatic instructionStatic_;
  CXTaskDialogStatic contentStatic_;
  CXTaskDialogStatic detailsStatic_;
  CXTaskDialogStatic footerStatic_;
  CXTaskDialogButton verificationButton_;
  std::vector<std::unique_ptr<CXTaskDialogButton>> radioButtonSubclasses_;
  std::vector<std::unique_ptr<CXTaskDialogCommandLink>> commandLinks_;
};

// The own dialog as a TaskDialogIndirect function: each call makes one CXTaskDialog with the
// services, runs it and destroys it.
TaskDialogFunction ownTaskDialogFunction(const OwnDialogServices& services);

}  // namespace quorlex
