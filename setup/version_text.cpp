#include "setup/version_text.h"

#include "common/text.h"

namespace quorlex {

bool readVersionText(IVersionSource& source, std::u16string& text) {
  text = u"1.0.0";
  std::optional<FixedVersionBlock> block = source.fixedVersionBlock();
  if (!block || block->signature != fixedVersionSignature) return false;
  text = decimalText(block->productVersionMS >> 16) + u"." + decimalText(block->productVersionMS & 0xFFFF) + u"." +
         decimalText(block->productVersionLS >> 16);
  return true;
}

}  // namespace quorlex
