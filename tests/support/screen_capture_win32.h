#pragma once
// What a person sees, for the window tests: a part of the screen read back into memory,
// looked at pixel by pixel and saved as a PNG under the build's screenshots folder.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlex::test_support {

struct CapturedImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first

  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Screen coordinates.
std::optional<CapturedImage> captureScreen(const RECT& area);
// The area of the screen under the window and every visible popup menu of the process.
RECT windowWithMenus(HWND window);

// build/<preset>/screenshots, made when missing.
std::wstring screenshotFolder();
// On a thread with a COM apartment.
bool savePng(const CapturedImage& image, const std::wstring& path);

inline constexpr std::uint32_t rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<std::uint32_t>(red) << 16 | static_cast<std::uint32_t>(green) << 8 | blue;
}

}  // namespace quorlex::test_support
