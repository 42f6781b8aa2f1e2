// Linux has no system message table for result codes: the transport's own texts stand in.
#include "gateway/system_message.h"
#include "gateway/transport_messages.h"

namespace quorlex {

std::optional<std::u16string> systemMessageText(ResultCode code) { return transportMessageText(code); }

}  // namespace quorlex
