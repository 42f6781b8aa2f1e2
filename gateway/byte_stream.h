#pragma once
// A growable in-memory byte stream with a current position, as the request body.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <span>

namespace quorlex {

class ByteStream {
 public:
  // capacityLimit caps the stream's size; a write past it is short, as a full stream's would be.
  explicit ByteStream(std::size_t capacityLimit = std::numeric_limits<std::size_t>::max());

  // Writes at the current position, overwriting and extending, and advances the position.
  // Returns the number of bytes written; never throws.
  std::size_t write(std::span<const std::uint8_t> bytes) noexcept;

  // Room for count bytes at the position, for a writer that fills it in place and then
  // commits what it wrote. Shorter when the stream can hold no more (its limit, or memory).
  std::span<std::uint8_t> prepare(std::size_t count) noexcept;
  // The first written bytes of the prepared room join the stream; the position passes them.
  void commit(std::size_t written) noexcept;

  void seekStart() noexcept { position_ = 0; }
  // Moves the position to the end and returns it.
  std::size_t seekEnd() noexcept { return position_ = size_; }
  std::size_t position() const noexcept { return position_; }
  std::size_t size() const noexcept { return size_; }
  std::span<const std::uint8_t> bytes() const noexcept { return {bytes_.get(), size_}; }

 private:
  bool grow(std::size_t capacity) noexcept;

  // Grown without zero-filling: every byte below size_ has been written.
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  std::size_t position_ = 0;
  std::size_t capacityLimit_;
};

}  // namespace quorlex
