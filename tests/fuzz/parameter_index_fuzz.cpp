// The parameter number of a link destination, against strtol on the same text: any UTF-16
// units, read from after the first "PARM" as the C library reads a number.
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "release/parameter_assembly.h"

namespace {

// What strtol makes of the units after the first "PARM", held to the 32-bit range.
std::int32_t expectedIndex(std::u16string_view destination) {
  std::size_t at = destination.find(u"PARM");
  if (at == std::u16string_view::npos || at + 4 == destination.size()) return -1;
  // Units strtol does not know stand as a letter; a zero unit ends the number as the end does.
  std::string narrow;
  for (char16_t unit : destination.substr(at + 4)) {
    if (unit == 0) break;
    narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : 'x');
  }
  errno = 0;
  long long number = std::strtoll(narrow.c_str(), nullptr, 10);
  if (number > INT32_MAX) return INT32_MAX;
  if (number < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string destination;
  // Printable ASCII byte by byte, so that the fuzzer finds "PARM" and digits quickly; a byte
  // from 0x80 takes the next one with it as a unit of its own.
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] < 0x80 || i + 1 == size) {
      destination.push_back(data[i]);
    } else {
      destination.push_back(static_cast<char16_t>(((data[i] & 0x7F) << 9) | data[i + 1]));
      ++i;
    }
  }
  if (quorlex::parameterIndex(destination) != expectedIndex(destination)) std::abort();
  return 0;
}
