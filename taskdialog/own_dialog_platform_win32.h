#pragma once
// What the own task dialog needs of Windows to prepare and lay itself out: the component's
// string and icon resources, GDI objects, and the display.

#include <windows.h>

#include "taskdialog/own_dialog_services.h"

namespace quorlex {

class Win32TaskDialogResources final : public ITaskDialogResources {
 public:
  std::optional<std::u16string> loadString(ModuleHandle module, std::uint16_t id) override;
  IconHandle loadIcon(ModuleHandle module, std::uint16_t id, int size) override;
  ModuleHandle componentModule() override;
  std::u16string hostExecutableName() override;
  std::uint32_t lastError() override { return GetLastError(); }
};

class Win32Graphics final : public IGraphics {
 public:
  BrushHandle createSolidBrush(Colour colour) override;
  PenHandle createSolidPen(Colour colour, int width) override;
  FontHandle createMessageFont(std::int32_t height) override;
  IconHandle copyIcon(IconHandle icon) override;
  void release(BrushHandle brush) override;
  void release(PenHandle pen) override;
  void release(FontHandle font) override;
  void release(IconHandle icon) override;
};

class Win32Display final : public IDisplay {
 public:
  std::unique_ptr<ITextMeasurer> openMeasuringContext() override;
  std::optional<std::int32_t> messageFontHeight() override;
  std::optional<int> monitorWidthNearest(WindowHandle window) override;
  int screenWidth() override;
  std::optional<Rect> monitorWorkAreaNearest(WindowHandle window) override;
  DialogBaseUnits dialogBaseUnits() override;
  Colour buttonTextColour() override;
  std::uint32_t platformMajorVersion() override;
  bool clientAreaAnimation() override;
};

// The platform's non-client metrics in their 500-byte form (without the padded border width),
// the form every version of the platform answers; none when they cannot be read.
std::optional<NONCLIENTMETRICSW> nonClientMetrics();

}  // namespace quorlex
