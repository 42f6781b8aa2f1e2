#pragma once
// The version line of the General page, from the fixed version block of the component's
// own file.

#include <cstdint>
#include <optional>
#include <string>

namespace quorlex {

inline constexpr std::uint32_t fixedVersionSignature = 0xFEEF04BD;

struct FixedVersionBlock {
  std::uint32_t signature = 0;
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
};

// Where the component's fixed version block comes from (its version resource on Windows).
class IVersionSource {
 public:
  virtual ~IVersionSource() = default;
  // None when the file has no version resource or its root block cannot be read.
  virtual std::optional<FixedVersionBlock> fixedVersionBlock() = 0;
};

// "major.minor.build" of the product version; false, with text "1.0.0", when there is no
// valid block.
bool readVersionText(IVersionSource& source, std::u16string& text);

}  // namespace quorlex
