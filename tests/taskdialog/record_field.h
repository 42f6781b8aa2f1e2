#pragma once
// A field of the packed request record, read by value: a reference bound to one (as the test
// macros take their arguments) may be misaligned.

namespace quorlex::test_support {

template <class T>
T field(T value) {
  return value;
}

}  // namespace quorlex::test_support
