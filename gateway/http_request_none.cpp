// The Windows request object arrives with the MSXML transport; until then there is none,
// and post reports "Failed to create XMLHttpRequest".
#include "gateway/http_request.h"

namespace quorlex {

std::unique_ptr<HttpRequest> createHttpRequest() { return nullptr; }

}  // namespace quorlex
