#include "gateway/transport_messages.h"

#include <array>
#include <utility>

#include "gateway/transport_codes.h"

namespace quorlex {

std::optional<std::u16string> transportMessageText(ResultCode code) {
  static constexpr std::array<std::pair<ResultCode, std::u16string_view>, 13> texts{{
      {transportCode::timeout, u"The operation timed out"},
      {transportCode::internalError, u"An internal error occurred in the HTTP client"},
      {transportCode::invalidUrl, u"The URL is invalid"},
      {transportCode::unrecognizedScheme, u"The URL does not use a recognized protocol"},
      {transportCode::connectionAborted, u"The connection with the server was terminated abnormally"},
      {transportCode::certificateErrors, u"The server's certificate could not be verified"},
      {transportCode::invalidServerResponse, u"The server returned an invalid or unrecognized response"},
      {transportCode::secureChannelError, u"A secure connection to the server could not be established"},
      {resultOutOfMemory, u"Not enough memory to complete this operation"},
      {resultInvalidArgument, u"The parameter is incorrect"},
      {resultUnexpected, u"The operation was called out of order"},
      {resultNotImplemented, u"Not implemented"},
      {resultFail, u"Unspecified error"},
  }};
  for (const auto& [known, text] : texts) {
    if (known == code) return std::u16string(text);
  }
  return std::nullopt;
}

}  // namespace quorlex
