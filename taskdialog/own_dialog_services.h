#pragma once
// What the own task dialog needs of the platform to prepare, lay out and run itself: string and
// icon resources, drawing objects, the display, and the modal dialog loop.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "common/result_code.h"
#include "taskdialog/dialog_template.h"
#include "taskdialog/dialog_window.h"
#include "taskdialog/drawing.h"
#include "taskdialog/graphics.h"
#include "taskdialog/task_dialog_request.h"

namespace quorlex {

class ITaskDialogResources {
 public:
  virtual ~ITaskDialogResources() = default;
  // The module's string resource; none when it has none (the last error set). An empty
  // resource comes back as the empty text.
  virtual std::optional<std::u16string> loadString(ModuleHandle module, std::uint16_t id) = 0;
  // The module's icon resource at size × size pixels, at the platform's default icon size for
  // size 0; none on failure (the last error set).
  virtual IconHandle loadIcon(ModuleHandle module, std::uint16_t id, int size) = 0;
  // The component's own module, which holds the common-button texts and the dialog's icons.
  virtual ModuleHandle componentModule() = 0;
  // The host process's executable: file name and extension, without directory.
  virtual std::u16string hostExecutableName() = 0;
  virtual std::uint32_t lastError() = 0;
};

class IDisplay {
 public:
  virtual ~IDisplay() = default;
  // A device context of the display for measuring texts; none on failure. Released with the
  // measurer, together with the font selected into it.
  virtual std::unique_ptr<ITextMeasurer> openMeasuringContext() = 0;
  // The height of the message font in the platform's non-client metrics (the 500-byte form);
  // none when they cannot be read.
  virtual std::optional<std::int32_t> messageFontHeight() = 0;
  // Width in pixels of the monitor nearest to the window; none when it cannot be asked.
  virtual std::optional<int> monitorWidthNearest(WindowHandle window) = 0;
  virtual int screenWidth() = 0;
  // Work area of the monitor nearest to the window, in screen coordinates; none when its
  // information cannot be read.
  virtual std::optional<Rect> monitorWorkAreaNearest(WindowHandle window) = 0;
  virtual DialogBaseUnits dialogBaseUnits() = 0;
  virtual Colour buttonTextColour() = 0;
  virtual std::uint32_t platformMajorVersion() = 0;
  // The user's preference for animating client areas.
  virtual bool clientAreaAnimation() = 0;
};

// How a modal run ended: result fails when the template block or the window procedure's object
// could not be made; otherwise endValue is the value the dialog ended with, −1 when the loop
// could not create the window.
struct ModalRun {
  ResultCode result = resultOk;
  std::intptr_t endValue = -1;
};

// Where the layout put the client area and every control, in pixels. Dialog units are coarser
// than pixels, so a platform that converts the template back may land a pixel off; it puts the
// window and its controls here before the dialog's first message.
struct PixelPlacement {
  Size client;
  std::span<const DialogItem> items;
};

class IDialogRunner {
 public:
  virtual ~IDialogRunner() = default;
  // Copies the template into one block of process memory, runs it modally with `owner` as
  // owner and `dialog` answering the window's messages, and frees the block.
  virtual ModalRun runModal(std::span<const std::uint8_t> dialogTemplate,
                            const PixelPlacement& placement, WindowHandle owner,
                            IDialogMessages& dialog) = 0;
  // The platform's millisecond tick count.
  virtual std::uint32_t tickCount() = 0;
  // The platform's alert sound of a message-box type (0x10, 0x30, 0x40).
  virtual void playAlert(std::uint32_t messageBoxType) = 0;
};

struct OwnDialogServices {
  ITaskDialogResources& resources;
  IGraphics& graphics;
  IDisplay& display;
  IDialogRunner& runner;
};

}  // namespace quorlex
