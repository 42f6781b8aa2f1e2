#pragma once
// A growable in-memory byte stream with a current position, as the request body.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace quorlex {

class ByteStream {
 public:
  // capacityLimit caps the stream's size; a write past it is short, as a full stream's would be.
  explicit ByteStream(std::size_t capacityLimit = std::numeric_limits<std::size_t>::max());

  // Writes at the current position, overwriting and extending, and advances the position.
  // Returns the number of bytes written; never throws.
  std::size_t write(std::span<const std::uint8_t> bytes) noexcept;

  void seekStart() noexcept { position_ = 0; }
  // Moves the position to the end and returns it.
  std::size_t seekEnd() noexcept { return position_ = bytes_.size(); }
  std::size_t position() const noexcept { return position_; }
  std::size_t size() const noexcept { return bytes_.size(); }
  std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
  std::size_t capacityLimit_;
};

}  // namespace quorlex
