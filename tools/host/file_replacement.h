#pragma once
// Replacing a file whole: the new text goes to a temporary file beside it, reaches the disk,
// and takes the file's place in one step, so that a crash leaves the old file or the new one.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quorlex::host {

// None when done; otherwise the reason, and the file as it was.
std::optional<std::string> replaceFile(const std::filesystem::path& target, std::string_view text);

}  // namespace quorlex::host
