#include "gateway/byte_stream.h"

#include <algorithm>
#include <new>

namespace quorlex {

ByteStream::ByteStream(std::size_t capacityLimit) : capacityLimit_(capacityLimit) {}

bool ByteStream::grow(std::size_t capacity) noexcept {
  std::unique_ptr<std::uint8_t[]> larger;
  try {
    larger = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::copy_n(bytes_.get(), size_, larger.get());
  bytes_ = std::move(larger);
  capacity_ = capacity;
  return true;
}

std::span<std::uint8_t> ByteStream::prepare(std::size_t count) noexcept {
  std::size_t room = position_ < capacityLimit_ ? capacityLimit_ - position_ : 0;
  std::size_t end = position_ + std::min(count, room);
  if (end > capacity_) {
    // Doubling keeps appends linear, and half again as much as a large write needs leaves room
    // for what follows it; when that much memory is not there, the exact size may be.
    std::size_t doubled = capacity_ > capacityLimit_ / 2 ? capacityLimit_ : std::max<std::size_t>(capacity_ * 2, 4096);
    std::size_t roomy = end > capacityLimit_ - end / 2 ? capacityLimit_ : end + end / 2;
    if (!grow(std::max(roomy, doubled)) && !grow(end)) end = std::max(capacity_, position_);
  }
  return {bytes_.get() + position_, end - position_};
}

void ByteStream::commit(std::size_t written) noexcept {
  position_ += written;
  size_ = std::max(size_, position_);
}

std::size_t ByteStream::write(std::span<const std::uint8_t> bytes) noexcept {
  std::span<std::uint8_t> room = prepare(bytes.size());
  std::copy_n(bytes.begin(), room.size(), room.begin());
  commit(room.size());
  return room.size();
}

}  // namespace quorlex
