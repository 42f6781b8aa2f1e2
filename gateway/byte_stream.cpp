#include "gateway/byte_stream.h"

#include <algorithm>
#include <new>

namespace quorlex {

ByteStream::ByteStream(std::size_t capacityLimit) : capacityLimit_(capacityLimit) {}

std::size_t ByteStream::write(std::span<const std::uint8_t> bytes) noexcept {
  std::size_t room = position_ < capacityLimit_ ? capacityLimit_ - position_ : 0;
  std::size_t count = std::min(bytes.size(), room);
  std::size_t end = position_ + count;
  try {
    if (end > bytes_.size()) bytes_.resize(end);
  } catch (const std::bad_alloc&) {
    // Out of memory: write what still fits in the present size.
    count = bytes_.size() > position_ ? std::min(count, bytes_.size() - position_) : 0;
    end = position_ + count;
  }
  std::copy_n(bytes.begin(), count, bytes_.begin() + static_cast<std::ptrdiff_t>(position_));
  position_ = end;
  return count;
}

}  // namespace quorlex
