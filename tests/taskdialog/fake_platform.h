#pragma once
// The own dialog's platform in memory: string and icon resources, drawing objects that are
// counted until released, a display measured by the fake measurer, and a modal loop that makes a
// FakeDialogWindow from the template and runs a test's script on it.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "taskdialog/own_dialog_services.h"
#include "tests/taskdialog/fake_dialog_window.h"
#include "tests/taskdialog/fake_measurer.h"

namespace quorlex::test_support {

ModuleHandle fakeModule(std::uintptr_t number);
inline const ModuleHandle componentModule = fakeModule(0xC0);
inline const ModuleHandle callerModule = fakeModule(0xCA);

struct IconInfo {
  std::uint16_t resource = 0;  // 0 for a copy of a given handle
  int size = 0;
  bool copy = false;
};

class FakePlatform : public ITaskDialogResources,
                     public IGraphics,
                     public IDisplay,
                     public IDialogRunner {
 public:
  FakePlatform();
  ~FakePlatform() override;

  OwnDialogServices services() { return {*this, *this, *this, *this}; }

  // ITaskDialogResources
  std::optional<std::u16string> loadString(ModuleHandle module, std::uint16_t id) override;
  IconHandle loadIcon(ModuleHandle module, std::uint16_t id, int size) override;
  ModuleHandle componentModule() override { return test_support::componentModule; }
  std::u16string hostExecutableName() override { return u"host.exe"; }
  std::uint32_t lastError() override { return lastErrorValue; }

  // IGraphics
  BrushHandle createSolidBrush(Colour colour) override;
  PenHandle createSolidPen(Colour colour, int width) override;
  FontHandle createMessageFont(std::int32_t height) override;
  IconHandle copyIcon(IconHandle icon) override;
  void release(BrushHandle brush) override { releaseObject(brush); }
  void release(PenHandle pen) override { releaseObject(pen); }
  void release(FontHandle font) override { releaseObject(font); }
  void release(IconHandle icon) override { releaseObject(icon); }

  // IDisplay
  std::unique_ptr<ITextMeasurer> openMeasuringContext() override;
  std::optional<std::int32_t> messageFontHeight() override { return fontHeight; }
  std::optional<int> monitorWidthNearest(WindowHandle window) override;
  int screenWidth() override { return screen; }
  std::optional<Rect> monitorWorkAreaNearest(WindowHandle) override { return workArea; }
  DialogBaseUnits dialogBaseUnits() override { return units; }
  Colour buttonTextColour() override { return bodyText; }
  std::uint32_t platformMajorVersion() override { return majorVersion; }
  bool clientAreaAnimation() override { return animationPreference; }

  // IDialogRunner
  ModalRun runModal(std::span<const std::uint8_t> dialogTemplate, const PixelPlacement& placement,
                    WindowHandle owner, IDialogMessages& dialog) override;
  std::uint32_t tickCount() override { return ticks; }
  void playAlert(std::uint32_t type) override { alerts.push_back(type); }

  // What was made and is not yet released.
  std::size_t liveObjects() const { return live_.size(); }
  bool isLive(const void* handle) const { return live_.count(handle) != 0; }
  IconInfo iconInfo(IconHandle icon) const;
  Colour colourOf(const void* brushOrPen) const;

  void addString(ModuleHandle module, std::uint16_t id, std::u16string text) {
    strings_[{module, id}] = std::move(text);
  }

  // Settings and fault injection.
  std::uint32_t lastErrorValue = 1814;  // the resource name was not found
  std::set<std::uint16_t> missingIcons;
  bool failBrushes = false;
  bool failPens = false;
  bool failFonts = false;
  bool failCopies = false;
  bool failMeasuring = false;
  std::optional<std::int32_t> fontHeight = normalHeight;
  std::optional<int> monitorWidth = 1000;
  int screen = 800;
  std::optional<Rect> workArea = Rect{0, 0, 1600, 1000};
  DialogBaseUnits units{4, 8};  // dialog units are pixels
  Colour bodyText = 0x202020;
  std::uint32_t majorVersion = 6;
  bool animationPreference = true;
  std::uint32_t ticks = 1000;
  ModalRun modalFailure{resultOk, 0};  // a failing result here makes runModal fail
  bool windowCreationFails = false;

  // The test's part of the modal loop, between initialisation and destruction.
  std::function<void(FakeDialogWindow&, IDialogMessages&)> script;

  // What happened.
  std::vector<std::uint32_t> alerts;
  std::vector<MeasureCall> measureCalls;
  int openMeasuringContexts = 0;
  std::vector<std::uint8_t> lastTemplate;
  WindowHandle lastOwner = nullptr;
  Size lastPlacementClient;
  std::vector<std::pair<int, Rect>> lastPlacementItems;  // control id, pixels
  std::unique_ptr<FakeDialogWindow> window;  // of the last run, kept for inspection
  std::vector<std::string> releaseErrors;

 private:
  template <class Handle>
  Handle make(std::uintptr_t kind);
  void releaseObject(const void* handle);

  std::map<std::pair<ModuleHandle, std::uint16_t>, std::u16string> strings_;
  std::set<const void*> live_;
  std::map<const void*, IconInfo> icons_;
  std::map<const void*, Colour> colours_;
  std::uintptr_t serial_ = 0;
};

}  // namespace quorlex::test_support
