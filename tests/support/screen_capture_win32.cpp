#include "tests/support/screen_capture_win32.h"

#include <wincodec.h>

#include "common/com_ptr.h"
#include "common/unique_gdi.h"

namespace quorlex::test_support {

std::optional<CapturedImage> captureScreen(const RECT& area) {
  CapturedImage image;
  image.width = area.right - area.left;
  image.height = area.bottom - area.top;
  if (image.width <= 0 || image.height <= 0) return std::nullopt;
  window_dc screen(nullptr);
  unique_memory_dc memory(screen.get());
  unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), image.width, image.height));
  if (!screen || !memory || !bitmap) return std::nullopt;
  {
    selected_object target(memory.get(), bitmap.get());
    if (!BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), area.left, area.top, SRCCOPY)) {
      return std::nullopt;
    }
  }
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = image.width;
  format.bmiHeader.biHeight = -image.height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  image.pixels.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  if (GetDIBits(memory.get(), bitmap.get(), 0, static_cast<UINT>(image.height), image.pixels.data(), &format,
                DIB_RGB_COLORS) != image.height) {
    return std::nullopt;
  }
  for (std::uint32_t& pixel : image.pixels) pixel &= 0xFFFFFF;
  return image;
}

RECT windowWithMenus(HWND window) {
  RECT area{};
  (void)GetWindowRect(window, &area);
  for (HWND menu = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
       menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
    RECT shown{};
    if (IsWindowVisible(menu) && GetWindowRect(menu, &shown)) (void)UnionRect(&area, &area, &shown);
  }
  return area;
}

std::wstring screenshotFolder() {
  wchar_t program[MAX_PATH]{};
  DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring folder(program, length);
  // The program is in build/<preset>/bin.
  folder.resize(folder.find_last_of(L'\\'));
  folder.resize(folder.find_last_of(L'\\'));
  folder += L"\\screenshots";
  (void)CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool savePng(const CapturedImage& image, const std::wstring& path) {
  com_ptr<IWICImagingFactory> factory;
  com_ptr<IWICStream> stream;
  com_ptr<IWICBitmapEncoder> encoder;
  com_ptr<IWICBitmapFrameEncode> frame;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())))) {
    return false;
  }
  if (FAILED(factory->CreateStream(stream.put())) || FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE))) {
    return false;
  }
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
      FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
      FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr))) {
    return false;
  }
  WICPixelFormatGUID pixelFormat = GUID_WICPixelFormat32bppBGRA;
  if (FAILED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height))) ||
      FAILED(frame->SetPixelFormat(&pixelFormat)) || pixelFormat != GUID_WICPixelFormat32bppBGRA) {
    return false;
  }
  std::vector<std::uint32_t> opaque(image.pixels);
  for (std::uint32_t& pixel : opaque) pixel |= 0xFF000000;
  UINT stride = static_cast<UINT>(image.width) * 4;
  auto* bytes = reinterpret_cast<BYTE*>(opaque.data());
  return SUCCEEDED(frame->WritePixels(static_cast<UINT>(image.height), stride, stride * static_cast<UINT>(image.height), bytes)) &&
         SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace quorlex::test_support
