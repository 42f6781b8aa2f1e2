#pragma once
// A page's dialog template made fit to live inside the sheet: the template as stored has a
// caption (its title, the page's entry in the page list) and is disabled, as property pages
// are stored; the sheet shows it as a control-parent child without a caption.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quorlex {

namespace windowStyle {
inline constexpr std::uint32_t child = 0x40000000;          // WS_CHILD
inline constexpr std::uint32_t popup = 0x80000000;          // WS_POPUP
inline constexpr std::uint32_t visible = 0x10000000;        // WS_VISIBLE
inline constexpr std::uint32_t disabled = 0x08000000;       // WS_DISABLED
inline constexpr std::uint32_t caption = 0x00C00000;        // WS_CAPTION
inline constexpr std::uint32_t systemMenu = 0x00080000;     // WS_SYSMENU
inline constexpr std::uint32_t thickFrame = 0x00040000;     // WS_THICKFRAME
inline constexpr std::uint32_t modalFrame = 0x00000080;     // DS_MODALFRAME
inline constexpr std::uint32_t dialogControl = 0x00000400;  // DS_CONTROL
inline constexpr std::uint32_t controlParent = 0x00010000;  // WS_EX_CONTROLPARENT
}  // namespace windowStyle

// The template with the child page's styles (hidden until the sheet shows it); none when the
// bytes are not a dialog template.
std::optional<std::vector<std::uint8_t>> childPageTemplate(std::span<const std::uint8_t> stored);

// The template's title; none when the bytes are not a dialog template.
std::optional<std::u16string> dialogTemplateTitle(std::span<const std::uint8_t> stored);

}  // namespace quorlex
