#include "tests/taskdialog/dialog_driver_win32.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstring>
#include <utility>

#include "common/com_ptr.h"

namespace quorlex::test_support {
namespace {

constexpr int waitStepMs = 20;
constexpr int waitLimitMs = 5000;

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK findTitled(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (IsWindowVisible(window) && windowText(window) == search.title) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

struct ChildSearch {
  std::wstring className;
  std::wstring text;
  HWND found = nullptr;
};

BOOL CALLBACK findChildWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<ChildSearch*>(data);
  wchar_t name[64] = {};
  (void)GetClassNameW(window, name, 64);
  if (lstrcmpiW(name, search.className.c_str()) == 0 && windowText(window) == search.text) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

DialogThread::DialogThread(std::function<void()> run)
    : started_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), ended_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this, run = std::move(run)] {
    threadId_ = GetCurrentThreadId();
    (void)SetEvent(started_);
    run();
    (void)SetEvent(ended_);
  });
  (void)WaitForSingleObject(started_, INFINITE);
}

DialogThread::~DialogThread() {
  // A dialog a failed test left open: its modal loop ends on a quit message.
  while (WaitForSingleObject(ended_, 0) != WAIT_OBJECT_0) {
    (void)PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    (void)WaitForSingleObject(ended_, 200);
  }
  if (thread_.joinable()) thread_.join();
  (void)CloseHandle(started_);
  (void)CloseHandle(ended_);
}

HWND DialogThread::waitForWindow(const std::wstring& title) {
  for (int waited = 0; waited < waitLimitMs; waited += waitStepMs) {
    Search search{title};
    (void)EnumThreadWindows(threadId_, findTitled, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      pause(200);  // its first paint
      settle(search.found);
      return search.found;
    }
    if (WaitForSingleObject(ended_, waitStepMs) == WAIT_OBJECT_0) return nullptr;
  }
  return nullptr;
}

bool DialogThread::waitForEnd() { return WaitForSingleObject(ended_, waitLimitMs) == WAIT_OBJECT_0; }

void pause(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

void settle(HWND window) {
  (void)RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  pause(100);
}

HWND findChild(HWND dialog, const std::wstring& className, const std::wstring& text) {
  ChildSearch search{className, text};
  (void)EnumChildWindows(dialog, findChildWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring windowText(HWND window) {
  wchar_t text[512] = {};
  (void)SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                            nullptr);
  return text;
}

Rect rectInClient(HWND dialog, HWND control) {
  RECT rect{};
  (void)GetWindowRect(control, &rect);
  (void)MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
          static_cast<int>(rect.bottom)};
}

int fontHeight(HWND control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW description{};
  if (font == nullptr || GetObjectW(font, sizeof description, &description) == 0) return 0;
  return static_cast<int>(description.lfHeight);
}

void click(HWND button) { (void)PostMessageW(button, BM_CLICK, 0, 0); }

void pressKey(HWND dialog, UINT key) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = dialog;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus != nullptr) {
    target = info.hwndFocus;
  }
  (void)PostMessageW(target, WM_KEYDOWN, key, 1);
  (void)PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

ScreenCapture ScreenCapture::ofWindow(HWND window) {
  RECT rect{};
  (void)GetWindowRect(window, &rect);
  return of(rect);
}

ScreenCapture ScreenCapture::ofClient(HWND window) {
  RECT rect{};
  (void)GetClientRect(window, &rect);
  (void)MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return of(rect);
}

ScreenCapture ScreenCapture::of(const RECT& screen) {
  ScreenCapture capture;
  capture.width_ = screen.right - screen.left;
  capture.height_ = screen.bottom - screen.top;
  capture.pixels_.assign(static_cast<std::size_t>(capture.width_) * capture.height_, 0);
  HDC screenDc = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screenDc);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = capture.width_;
  info.bmiHeader.biHeight = -capture.height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  (void)BitBlt(memory, 0, 0, capture.width_, capture.height_, screenDc, screen.left, screen.top, SRCCOPY);
  GdiFlush();
  std::memcpy(capture.pixels_.data(), bits, capture.pixels_.size() * 4);
  (void)SelectObject(memory, old);
  (void)DeleteObject(bitmap);
  (void)DeleteDC(memory);
  (void)ReleaseDC(nullptr, screenDc);
  return capture;
}

Colour ScreenCapture::at(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFF000000;
  const std::uint32_t rgb = pixels_[static_cast<std::size_t>(y) * width_ + x] & 0xFFFFFF;
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

int ScreenCapture::count(const Rect& within, Colour colour) const {
  int found = 0;
  for (int y = within.top; y < within.bottom; ++y) {
    for (int x = within.left; x < within.right; ++x) found += at(x, y) == colour ? 1 : 0;
  }
  return found;
}

bool ScreenCapture::savePng(const std::wstring& path) const {
  com_ptr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put())))) {
    return false;
  }
  com_ptr<IWICStream> stream;
  com_ptr<IWICBitmapEncoder> encoder;
  com_ptr<IWICBitmapFrameEncode> frame;
  if (FAILED(factory->CreateStream(stream.put())) || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
      FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
      FAILED(frame->SetSize(static_cast<UINT>(width_), static_cast<UINT>(height_)))) {
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  if (FAILED(frame->SetPixelFormat(&format))) return false;
  // The encoder may ask for three bytes a pixel instead of four.
  const UINT bytesPerPixel = format == GUID_WICPixelFormat24bppBGR ? 3 : 4;
  if (bytesPerPixel == 4 && format != GUID_WICPixelFormat32bppBGR && format != GUID_WICPixelFormat32bppBGRA) {
    return false;
  }
  std::vector<BYTE> rows;
  for (std::uint32_t pixel : pixels_) {
    rows.push_back(static_cast<BYTE>(pixel & 0xFF));
    rows.push_back(static_cast<BYTE>((pixel >> 8) & 0xFF));
    rows.push_back(static_cast<BYTE>((pixel >> 16) & 0xFF));
    if (bytesPerPixel == 4) rows.push_back(0xFF);
  }
  const UINT stride = static_cast<UINT>(width_) * bytesPerPixel;
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(height_), stride, static_cast<UINT>(rows.size()), rows.data())) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::wstring screenshotPath(const std::wstring& name) {
  const std::wstring folder = QUORLEX_SCREENSHOT_DIR;
  (void)CreateDirectoryW(folder.c_str(), nullptr);
  return folder + L"\\" + name;
}

}  // namespace quorlex::test_support
