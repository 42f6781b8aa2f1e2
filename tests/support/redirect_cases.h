#pragma once
// The redirects a gateway, or a server in front of it, may answer a post with (moved to https,
// a load balancer, a changed path), each to a page that answers 200. None may be followed:
// the redirect's own status is the post's failure.

#include <string>
#include <vector>

#include "tests/support/loopback_server.h"
#include "tests/support/table_rows.h"  // a failing redirect row shows by its name

namespace quorlex::test_support {

struct RedirectCase {
  std::string name;
  int status;
  std::string reason;
  std::string description;  // in the redirect's body; empty for a body without one
};

inline std::vector<RedirectCase> redirectCases() {
  std::vector<RedirectCase> cases;
  for (const auto& [status, reason] : std::vector<std::pair<int, std::string>>{{301, "Moved Permanently"},
                                                                               {302, "Found"},
                                                                               {303, "See Other"},
                                                                               {307, "Temporary Redirect"},
                                                                               {308, "Permanent Redirect"}}) {
    cases.push_back({std::to_string(status), status, reason, ""});
    cases.push_back({std::to_string(status) + "_with_description", status, reason, "Use https://gateway/"});
  }
  return cases;
}

// The redirect to /elsewhere/ on the same server, then the 200 that following it would get.
inline std::vector<std::string> redirectReplies(const RedirectCase& redirect) {
  std::string body = redirect.description.empty()
                         ? "<html><body>Moved</body></html>"
                         : "<reply><text id=\"statusDescription\">" + redirect.description + "</text></reply>";
  return {httpReply(redirect.status, redirect.reason, body, "Location: /elsewhere/\r\nContent-Type: text/xml\r\n"),
          httpReply(200, "OK", "<reply/>", "Content-Type: text/xml\r\n")};
}

// "HTTP Request returned 302 (Found) " and the description, as UTF-8.
inline std::string redirectFailureText(const RedirectCase& redirect) {
  return "HTTP Request returned " + std::to_string(redirect.status) + " (" + redirect.reason + ") " +
         redirect.description;
}

}  // namespace quorlex::test_support
