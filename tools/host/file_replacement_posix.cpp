#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/host/file_replacement.h"

namespace quorlex::host {
namespace {

std::string systemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// The mode a new file gets from the process's umask.
mode_t newFileMode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool writeAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    ssize_t written = ::write(descriptor, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::optional<std::string> replaceFile(const std::filesystem::path& target, std::string_view text) {
  std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  // Appended piece by piece: GCC 12 at -O3 takes "." + name + ".XXXXXX" for an overlapping
  // copy and stops the build with a false -Wrestrict.
  std::string hiddenName(".");
  hiddenName.append(target.filename().string()).append(".XXXXXX");
  std::string temporary = (folder / hiddenName).string();
  int descriptor = ::mkstemp(temporary.data());
  if (descriptor < 0) return systemError("cannot create a temporary file in " + folder.string());
  struct stat existing {};
  mode_t mode = ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
  std::optional<std::string> failure;
  if (::fchmod(descriptor, mode) != 0) failure = systemError("cannot set the mode of " + temporary);
  if (!failure && !writeAll(descriptor, text)) failure = systemError("cannot write " + temporary);
  if (!failure && ::fsync(descriptor) != 0) failure = systemError("cannot flush " + temporary);
  if (::close(descriptor) != 0 && !failure) failure = systemError("cannot write " + temporary);
  if (!failure && ::rename(temporary.c_str(), target.c_str()) != 0) failure = systemError("cannot replace the file");
  if (failure) {
    ::unlink(temporary.c_str());
    return failure;
  }
  // The rename itself reaches the disk with the folder.
  int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (folderDescriptor >= 0) {
    (void)::fsync(folderDescriptor);
    ::close(folderDescriptor);
  }
  return std::nullopt;
}

}  // namespace quorlex::host
