#include "taskdialog/own_dialog_platform_win32.h"

#include <cstddef>

#include "common/own_module_win32.h"
#include "common/unique_gdi.h"
#include "taskdialog/gdi_handles_win32.h"
#include "taskdialog/painter_win32.h"

namespace quorlex {
namespace {

constexpr UINT nonClientMetricsSize = 500;
static_assert(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth) == nonClientMetricsSize);

// The display's device context; the font selected into it goes back before it is released.
class DisplayMeasurer final : public ITextMeasurer {
 public:
  DisplayMeasurer() : dc_(nullptr) {}
  ~DisplayMeasurer() override {
    if (oldFont_ != nullptr) (void)SelectObject(dc_.get(), oldFont_);
  }

  bool ready() const { return static_cast<bool>(dc_); }

  TextSize measure(FontHandle font, std::u16string_view text, int widthLimit, std::uint32_t format) override {
    HGDIOBJ old = SelectObject(dc_.get(), gdi(font));
    if (oldFont_ == nullptr) oldFont_ = old;
    return measureTextGdi(dc_.get(), text, RECT{0, 0, widthLimit, 0}, format);
  }

 private:
  window_dc dc_;
  HGDIOBJ oldFont_ = nullptr;
};

std::optional<MONITORINFO> monitorNearest(WindowHandle window) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return info;
}

}  // namespace

std::optional<NONCLIENTMETRICSW> nonClientMetrics() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = nonClientMetricsSize;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, nonClientMetricsSize, &metrics, 0)) return std::nullopt;
  return metrics;
}

std::optional<std::u16string> Win32TaskDialogResources::loadString(ModuleHandle module, std::uint16_t id) {
  // Strings live in blocks of sixteen, each a length-prefixed text; the block tells a missing
  // string from an empty one only as far as the format can.
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), MAKEINTRESOURCEW(6));  // RT_STRING
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* entry = loaded != nullptr ? static_cast<const char16_t*>(LockResource(loaded)) : nullptr;
  if (entry == nullptr) return std::nullopt;
  const DWORD size = SizeofResource(module, found) / sizeof(char16_t);
  const char16_t* end = entry + size;
  for (int index = id % 16; index > 0 && entry < end; --index) entry += 1 + *entry;
  if (entry >= end || *entry == 0 || entry + 1 + *entry > end) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return std::u16string();
  }
  return std::u16string(entry + 1, *entry);
}

IconHandle Win32TaskDialogResources::loadIcon(ModuleHandle module, std::uint16_t id, int size) {
  return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                                       size == 0 ? LR_DEFAULTSIZE : 0));
}

ModuleHandle Win32TaskDialogResources::componentModule() { return ownModule(); }

std::u16string Win32TaskDialogResources::hostExecutableName() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::u16string full(reinterpret_cast<const char16_t*>(path), length);
  const std::size_t slash = full.find_last_of(u"\\/");
  return slash == std::u16string::npos ? full : full.substr(slash + 1);
}

BrushHandle Win32Graphics::createSolidBrush(Colour colour) { return brushHandle(CreateSolidBrush(colour)); }

PenHandle Win32Graphics::createSolidPen(Colour colour, int width) {
  return penHandle(CreatePen(PS_SOLID, width, colour));
}

FontHandle Win32Graphics::createMessageFont(std::int32_t height) {
  std::optional<NONCLIENTMETRICSW> metrics = nonClientMetrics();
  if (!metrics) return nullptr;
  metrics->lfMessageFont.lfHeight = height;
  return fontHandle(CreateFontIndirectW(&metrics->lfMessageFont));
}

IconHandle Win32Graphics::copyIcon(IconHandle icon) { return icon != nullptr ? CopyIcon(icon) : nullptr; }

void Win32Graphics::release(BrushHandle brush) { (void)DeleteObject(gdi(brush)); }
void Win32Graphics::release(PenHandle pen) { (void)DeleteObject(gdi(pen)); }
void Win32Graphics::release(FontHandle font) { (void)DeleteObject(gdi(font)); }
void Win32Graphics::release(IconHandle icon) { (void)DestroyIcon(icon); }

std::unique_ptr<ITextMeasurer> Win32Display::openMeasuringContext() {
  auto measurer = std::make_unique<DisplayMeasurer>();
  if (!measurer->ready()) return nullptr;
  return measurer;
}

std::optional<std::int32_t> Win32Display::messageFontHeight() {
  std::optional<NONCLIENTMETRICSW> metrics = nonClientMetrics();
  if (!metrics) return std::nullopt;
  return metrics->lfMessageFont.lfHeight;
}

std::optional<int> Win32Display::monitorWidthNearest(WindowHandle window) {
  std::optional<MONITORINFO> info = monitorNearest(window);
  if (!info) return std::nullopt;
  return static_cast<int>(info->rcMonitor.right - info->rcMonitor.left);
}

int Win32Display::screenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

std::optional<Rect> Win32Display::monitorWorkAreaNearest(WindowHandle window) {
  std::optional<MONITORINFO> info = monitorNearest(window);
  if (!info) return std::nullopt;
  return fromGdi(info->rcWork);
}

DialogBaseUnits Win32Display::dialogBaseUnits() {
  const LONG units = GetDialogBaseUnits();
  return {LOWORD(units), HIWORD(units)};
}

Colour Win32Display::buttonTextColour() { return GetSysColor(COLOR_BTNTEXT); }

std::uint32_t Win32Display::platformMajorVersion() { return LOBYTE(LOWORD(GetVersion())); }

bool Win32Display::clientAreaAnimation() {
  BOOL animate = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animate, 0)) return true;
  return animate != FALSE;
}

}  // namespace quorlex
