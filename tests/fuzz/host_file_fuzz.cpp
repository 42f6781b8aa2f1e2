// The reference host's file, any bytes: refused with one short, printable message, or read
// whole (setup record, every document's values) and written back as setup writes it, in a
// text that reads back to the same file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/text.h"
#include "tools/host/host_file.h"

namespace {

using namespace quorlex;
using namespace quorlex::host;

void check(bool condition) {
  if (!condition) std::abort();
}

bool printable(std::string_view message) {
  return toUtf8(fromUtf8(message)) == message &&
         std::none_of(message.begin(), message.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  std::optional<HostFile> file = parseHostFile(text, "host.json", error);
  if (!file) {
    check(error.starts_with("host.json: ") && error.size() <= 400 && printable(error));
    return 0;
  }
  SetupRecord record = setupRecord(*file);
  for (std::size_t index = 0; index < std::min<std::size_t>(documentCount(*file), 64); ++index) {
    std::vector<MemoryValue> values = documentValues(*file, index);
    check(values.size() == record.links.size());
  }
  storeSetupSettings(*file, record);
  std::string written = hostFileText(*file);
  std::optional<HostFile> again = parseHostFile(written, "host.json", error);
  check(again && again->json == file->json);
  return 0;
}
