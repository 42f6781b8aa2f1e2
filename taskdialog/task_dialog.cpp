#include "taskdialog/task_dialog.h"

#include <new>

#include "taskdialog/task_dialog_texts.h"

namespace quorlex {
namespace {

constexpr std::uint16_t firstCommonButtonTextId = 11005;
constexpr std::uint16_t arrowIconId = 11021;
constexpr std::uint16_t hotArrowIconId = 11022;
// Resources of the standard icons, in the order of 0xFFFF − id.
constexpr std::uint16_t standardIconResources[] = {11020, 11023, 11024, 11025};

// Anything but no icon was asked for: a handle, a standard id, or an id with a module.
bool iconRequested(std::uintptr_t value, bool useHandle, ModuleHandle module) {
  if (value == 0) return false;
  return useHandle || isStandardIconId(value) || (isResourceId(value) && module != nullptr);
}

}  // namespace

CXTaskDialog::CXTaskDialog(const OwnDialogServices& services) : services_(services) {
  bodyTextColour_ = services_.display.buttonTextColour();
  if (services_.display.platformMajorVersion() > 5) {
    animate_ = services_.display.clientAreaAnimation();
  }
}

CXTaskDialog::~CXTaskDialog() = default;

ResultCode CXTaskDialog::lastErrorResult() {
  return fromPlatformError(services_.resources.lastError());
}

void CXTaskDialog::LoadCommonButtonTexts() {
  ModuleHandle component = services_.resources.componentModule();
  for (std::size_t i = 0; i < commonButtonTexts_.size(); ++i) {
    const auto id = static_cast<std::uint16_t>(firstCommonButtonTextId + i);
    if (auto text = services_.resources.loadString(component, id); text && !text->empty()) {
      commonButtonTexts_[i] = std::move(*text);
    }
  }
}

ResultCode CXTaskDialog::makeBrushesAndIcons() {
  IGraphics& graphics = services_.graphics;
  whiteBrush_ = OwnedBrush(graphics, graphics.createSolidBrush(white));
  if (!whiteBrush_) return lastErrorResult();
  greyBrush_ = OwnedBrush(graphics, graphics.createSolidBrush(bandGrey));
  if (!greyBrush_) return lastErrorResult();

  icons_ = StandardIcons{};
  ModuleHandle component = services_.resources.componentModule();
  auto load = [&](OwnedIcon& icon, std::uint16_t id, int size) {
    icon = OwnedIcon(graphics, services_.resources.loadIcon(component, id, size));
    return static_cast<bool>(icon);
  };
  if (!load(icons_.arrow, arrowIconId, 16)) return lastErrorResult();
  if (!load(icons_.hotArrow, hotArrowIconId, 16)) return lastErrorResult();
  for (std::size_t i = 0; i < icons_.small.size(); ++i) {
    if (!load(icons_.small[i], standardIconResources[i], 16)) return lastErrorResult();
    if (!load(icons_.large[i], standardIconResources[i], 32)) return lastErrorResult();
  }
  return resultOk;
}

ResultCode CXTaskDialog::loadTexts() {
  ITaskDialogResources& resources = services_.resources;
  const bool links = (flags() & TDF_ENABLE_HYPERLINKS) != 0;
  auto load = [&](RecordText field, std::u16string& text) {
    LoadedText loaded = LoadText(resources, module_, field);
    text = std::move(loaded.text);
    return loaded.result;
  };
  auto loadWithMeasured = [&](RecordText field, std::u16string& text, std::u16string& measured) {
    const ResultCode result = load(field, text);
    measured = links ? StripLinks(text) : text;
    return result;
  };
  auto loadOr = [&](RecordText field, std::u16string& text, std::u16string_view fallback) {
    const ResultCode result = load(field, text);
    if (text.empty()) text = std::u16string(fallback);
    return result;
  };
  TaskDialogTexts& t = texts_;
  const TASKDIALOGCONFIG& c = *config_;
  // Every text is loaded; the first failure is the answer.
  for (ResultCode result : {
           load(c.pszWindowTitle, t.title),
           load(c.pszMainInstruction, t.instruction),
           loadWithMeasured(c.pszContent, t.content, t.contentMeasured),
           loadWithMeasured(c.pszExpandedInformation, t.details, t.detailsMeasured),
           loadOr(c.pszExpandedControlText, t.expandedControl, defaultExpandedControlText),
           loadOr(c.pszCollapsedControlText, t.collapsedControl, defaultCollapsedControlText),
           load(c.pszVerificationText, t.verification),
           loadWithMeasured(c.pszFooter, t.footer, t.footerMeasured),
       }) {
    if (result != resultOk) return result;
  }
  if (t.title.empty()) t.title = resources.hostExecutableName();
  return resultOk;
}

OwnedIcon CXTaskDialog::iconFor(std::uintptr_t value, bool useHandle, bool large) {
  IGraphics& graphics = services_.graphics;
  if (useHandle) return OwnedIcon(graphics, graphics.copyIcon(reinterpret_cast<IconHandle>(value)));
  if (isStandardIconId(value)) {
    const std::size_t index = StandardIcons::index(value);
    const OwnedIcon& standard = large ? icons_.large[index] : icons_.small[index];
    return OwnedIcon(graphics, graphics.copyIcon(standard.get()));
  }
  if (isResourceId(value) && module_ != nullptr) {
    return OwnedIcon(graphics, services_.resources.loadIcon(
                                   module_, static_cast<std::uint16_t>(value), large ? 0 : 16));
  }
  return {};
}

ResultCode CXTaskDialog::loadMainIcon() {
  const bool useHandle = (flags() & TDF_USE_HICON_MAIN) != 0;
  const std::uintptr_t value = useHandle ? reinterpret_cast<std::uintptr_t>(config_->hMainIcon)
                                         : textOrIdValue(config_->pszMainIcon);
  mainIcon_ = iconFor(value, useHandle, true);
  if (!mainIcon_ && iconRequested(value, useHandle, module_)) return lastErrorResult();
  return resultOk;
}

void CXTaskDialog::loadFooterIcon() {
  const bool useHandle = (flags() & TDF_USE_HICON_FOOTER) != 0;
  const std::uintptr_t value = useHandle ? reinterpret_cast<std::uintptr_t>(config_->hFooterIcon)
                                         : textOrIdValue(config_->pszFooterIcon);
  footerIcon_ = iconFor(value, useHandle, false);
}

ResultCode CXTaskDialog::loadButtonTexts(std::vector<ButtonText>& out,
                                         const TASKDIALOG_BUTTON* buttons, std::uint32_t count) {
  out.clear();
  if (buttons == nullptr) return resultOk;
  for (std::uint32_t i = 0; i < count; ++i) {
    LoadedText text = LoadText(services_.resources, module_, buttons[i].pszButtonText);
    if (text.result != resultOk) return text.result;
    out.push_back({buttons[i].nButtonID, std::move(text.text)});
  }
  return resultOk;
}

ResultCode CXTaskDialog::BuildTemplate() {
  IDisplay& display = services_.display;
  IGraphics& graphics = services_.graphics;
  std::unique_ptr<ITextMeasurer> measurer = display.openMeasuringContext();
  if (!measurer) return lastErrorResult();
  const std::optional<std::int32_t> fontHeight = display.messageFontHeight();
  if (!fontHeight) return lastErrorResult();
  normalFont_ = OwnedFont(graphics, graphics.createMessageFont(*fontHeight));
  if (!normalFont_) return lastErrorResult();
  largeFont_ = OwnedFont(graphics, graphics.createMessageFont(*fontHeight * 3 / 2));
  if (!largeFont_) return lastErrorResult();

  LayoutInput input;
  if (ResultCode r = loadButtonTexts(customButtons_, config_->pButtons, config_->cButtons);
      r != resultOk) {
    return r;
  }
  if (ResultCode r =
          loadButtonTexts(radioButtons_, config_->pRadioButtons, config_->cRadioButtons);
      r != resultOk) {
    return r;
  }
  input.flags = flags();
  input.commonButtons = commonButtonsOf(*config_);
  input.defaultButton = config_->nDefaultButton;
  input.widthInDialogUnits = config_->cxWidth;
  input.texts = texts_;
  input.commonButtonTexts = commonButtonTexts_;
  input.customButtons = customButtons_;
  input.radioButtons = radioButtons_;
  input.hasMainIcon = static_cast<bool>(mainIcon_);
  input.hasFooterIcon = static_cast<bool>(footerIcon_);
  input.expanded = expanded_;
  if (config_->cxWidth == 0) {
    input.displayWidth =
        display.monitorWidthNearest(config_->hwndParent).value_or(display.screenWidth());
  }
  input.units = display.dialogBaseUnits();
  input.fonts = {normalFont_.get(), largeFont_.get()};

  layout_ = TaskDialogLayout{};
  template_.clear();
  try {
    layout_ = BuildTaskDialogLayout(input, *measurer);
    template_ = encodeDialogTemplate(layout_.header, texts_.title, layout_.items);
  } catch (const std::bad_alloc&) {
    return resultOutOfMemory;
  }
  sep1_ = layout_.sep1;
  sep2_ = layout_.sep2;
  sep3_ = layout_.sep3;
  return resultOk;
}

ResultCode CXTaskDialog::TaskDialogIndirect(const TASKDIALOGCONFIG* config, int* button,
                                            int* radioButton, int* verification) {
  if (config == nullptr) return resultInvalidArgument;
  config_ = config;
  module_ = config->hInstance;
  LoadCommonButtonTexts();
  if (ResultCode r = makeBrushesAndIcons(); r != resultOk) return r;
  if (ResultCode r = loadTexts(); r != resultOk) return r;
  if (ResultCode r = loadMainIcon(); r != resultOk) return r;
  loadFooterIcon();
  expanded_ = (flags() & TDF_EXPANDED_BY_DEFAULT) != 0;
  if (ResultCode r = BuildTemplate(); r != resultOk) return r;

  verificationAnswer_ = false;
  radioAnswer_ = -1;
  const PixelPlacement placement{layout_.client, layout_.items};
  const ModalRun run = services_.runner.runModal(template_, placement, config->hwndParent, *this);
  if (run.result != resultOk) return run.result;
  if (button != nullptr) *button = static_cast<int>(run.endValue);
  if (radioButton != nullptr) *radioButton = radioAnswer_;
  if (verification != nullptr) *verification = verificationAnswer_ ? 1 : 0;
  return resultOk;
}

TaskDialogFunction ownTaskDialogFunction(const OwnDialogServices& services) {
  return [services](const TASKDIALOGCONFIG* config, int* button, int* radioButton,
                    int* verification) {
    CXTaskDialog dialog(services);
    return dialog.TaskDialogIndirect(config, button, radioButton, verification);
  };
}

}  // namespace quorlex
