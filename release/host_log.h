#pragma once
// The release engine's one way of reporting: logToHost and its fixed messages, written to
// the process-wide logging target (the document-data object set last).

#include <cstdint>
#include <memory>
#include <string_view>

#include "server/host_objects.h"

namespace quorlex {

inline constexpr std::u16string_view codeModuleName = u".\\releaseScript";
inline constexpr std::size_t maxLogMessageUnits = 1023;

// Line numbers and texts of the release engine's messages.
namespace hostMessage {
inline constexpr std::int32_t countOfValuesLine = 125;
inline constexpr std::u16string_view countOfValuesText = u"Failed to get count of values";
inline constexpr std::int32_t valuesLine = 193;
inline constexpr std::u16string_view valuesText = u"Failed to get values";
inline constexpr std::int32_t releaseDocErrorLine = 223;
inline constexpr std::u16string_view releaseDocErrorText = u"Error in ReleaseDoc";
inline constexpr std::int32_t postFailedLine = 238;  // the text is the post's failure text
inline constexpr std::int32_t releasedLine = 250;
inline constexpr std::u16string_view releasedText = u"Document Released Successfully";
}  // namespace hostMessage

inline constexpr std::int32_t levelNotice = 0;
inline constexpr std::int32_t levelError = 1;

void setLoggingTarget(std::shared_ptr<IReleaseData> target);
void clearLoggingTarget();
std::shared_ptr<IReleaseData> loggingTarget();

// LogError on the target (and SendMessage for a level above 0). The text is never taken as a
// format; past 1023 units it is cut, without splitting a surrogate pair. Results are not
// looked at; with no target nothing happens.
void logToHost(std::int32_t line, std::int32_t level, std::u16string_view text) noexcept;

}  // namespace quorlex
