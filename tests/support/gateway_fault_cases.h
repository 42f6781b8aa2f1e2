#pragma once
// The gateway fault matrix: how a gateway, or what stands between it and the component, can
// misbehave, each scripted on a raw peer on 127.0.0.1, and what the release must log for it.
// The Linux request (libcurl) and the component under Wine (WinHTTP's request object) read
// this one table; where Wine's object cannot tell two faults apart, the case says so and
// names what it reports instead.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/text.h"
#include "testhost/memory_host.h"
#include "tests/support/host_events.h"
#include "tests/support/loopback_server.h"
#include "tests/support/peak_memory.h"
#include "tests/support/redirect_cases.h"

namespace quorlex::test_support {

struct GatewayFaultCase {
  std::string name{};
  // The peer's replies, request by request; refused: no peer listens at all.
  std::vector<ScriptedReply> replies{};
  bool refused = false;
  // The credentials configured in the host.
  std::u16string user{};
  std::u16string password{};
  // The failure text logged, as UTF-8; empty when the document is released.
  std::string failureText{};
  // Where the Windows request reports the fault otherwise, what it reports, and why.
  std::string windowsFailureText{};
  std::string windowsNote{};
  // The requests the peer receives (no retries; one more when credentials answer a 401).
  std::size_t requests = 1;
  // Peak memory that the release may add, in bytes; 0 for no bound checked.
  std::size_t memoryBound = 0;

  // The failure text that this platform's request gives.
  const std::string& expectedText() const {
#ifdef _WIN32
    if (!windowsNote.empty()) return windowsFailureText;
#endif
    return failureText;
  }
};

namespace fault_text {
inline const std::string unreachable = "http request failed: 0x800C0005, Unable to contact server";
inline const std::string aborted =
    "http request failed: 0x80072EFE, The connection with the server was terminated abnormally";
inline const std::string invalidReply =
    "http request failed: 0x80072F78, The server returned an invalid or unrecognized response";
inline const std::string certificate =
    "http request failed: 0x80072F17, The server's certificate could not be verified";
}  // namespace fault_text

inline ScriptedReply sent(const std::string& bytes) { return {{ReplyStep::Kind::Send, bytes}}; }

inline std::vector<GatewayFaultCase> gatewayFaultCases() {
  using Kind = ReplyStep::Kind;
  const std::string description =
      "<?xml version=\"1.0\"?><reply><text id=\"statusDescription\">Rejected by INVPGM</text></reply>";
  const std::string rejected = "HTTP Request returned 500 (Internal Server Error) Rejected by INVPGM";
  const std::string rejectedWithout = "HTTP Request returned 500 (Internal Server Error) ";
  const std::string serverError = httpReply(500, "Internal Server Error", description, "Content-Type: text/xml\r\n");
  const std::string ok = httpReply(200, "OK", "<reply/>", "Content-Type: text/xml\r\n");
  const std::string challenge =
      httpReply(401, "Unauthorized", "<html>Unauthorized</html>", "WWW-Authenticate: Basic realm=\"gateway\"\r\n");
  const std::string unauthorized = "HTTP Request returned 401 (Unauthorized) ";
  // The description cut into chunks across its element.
  std::string chunked = "HTTP/1.1 500 Internal Server Error\r\nContent-Type: text/xml\r\nTransfer-Encoding: chunked\r\n\r\n";
  for (std::size_t at = 0; at < description.size(); at += 17) {
    std::string chunk = description.substr(at, 17);
    char size[16];
    std::snprintf(size, sizeof size, "%zx", chunk.size());
    chunked += size + std::string("\r\n") + chunk + "\r\n";
  }
  chunked += "0\r\n\r\n";
  constexpr std::size_t megabyte = 1 << 20;
  const std::string padding(64 * 1024, ' ');
  const std::string hugeStart = "<reply id='statusDescription'>";
  const std::string hugeEnd = "Too large</reply>\n";

  RedirectCase redirect = redirectCases()[2];  // 302, with a description in its body

  std::vector<GatewayFaultCase> cases = {
      {.name = "connection_refused", .refused = true, .failureText = fault_text::unreachable, .requests = 0},
      {.name = "reset_before_the_status_line",
       .replies = {{{Kind::Reset, ""}}},
       .failureText = fault_text::aborted},
      {.name = "reset_in_the_headers",
       .replies = {{{Kind::Send, "HTTP/1.1 200 OK\r\nContent-Type: text/x"}, {Kind::Reset, ""}}},
       .failureText = fault_text::aborted},
      // Wine's WinHTTP takes that reset for the end of a whole head; the Windows request
      // refuses any HTTP/1.1 200 without a length or chunks for it, and so this one too.
      {.name = "http_1_1_200_ended_by_close",
       .replies = {{{Kind::Send, "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\n\r\n<reply/>"}, {Kind::Close, ""}}},
       .windowsFailureText = fault_text::aborted,
       .windowsNote = "Wine's WinHTTP cannot tell a reply ended by close from one reset in its head"},
      {.name = "reset_in_the_body",
       .replies = {{{Kind::Send, "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n<reply>"}, {Kind::Reset, ""}}},
       .failureText = fault_text::aborted},
      {.name = "status_line_not_http",
       .replies = {sent("SSH-2.0-OpenSSH_9.2\r\n\r\n")},
       .failureText = fault_text::invalidReply},
      {.name = "interim_replies_before_the_final_status",
       .replies = {sent("HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 102 Processing\r\n\r\n" + serverError)},
       .failureText = rejected,
       .windowsFailureText = fault_text::invalidReply,
       .windowsNote = "Wine's WinHTTP takes any 1xx reply for an invalid one"},
      {.name = "interim_reply_before_200",
       .replies = {sent("HTTP/1.1 100 Continue\r\n\r\n" + ok)},
       .windowsFailureText = fault_text::invalidReply,
       .windowsNote = "Wine's WinHTTP takes any 1xx reply for an invalid one: not released, never wrongly"},
      {.name = "chunked_reply", .replies = {sent(chunked)}, .failureText = rejected},
      {.name = "chunked_200",
       .replies = {sent("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n8\r\n<reply/>\r\n0\r\n\r\n")}},
      {.name = "close_delimited_http_1_0",
       .replies = {{{Kind::Send, "HTTP/1.0 500 Internal Server Error\r\nContent-Type: text/xml\r\n\r\n" + description},
                    {Kind::Close, ""}}},
       .failureText = rejected},
      {.name = "close_delimited_http_1_0_200",
       .replies = {{{Kind::Send, "HTTP/1.0 200 OK\r\n\r\n<reply/>"}, {Kind::Close, ""}}}},
      // 100 MB of white space after the description: what is kept of it is bounded, so the
      // description, in a document that never ends there, is not read.
      {.name = "reply_of_100_megabytes",
       .replies = {{{Kind::Send, "HTTP/1.1 500 Internal Server Error\r\nContent-Length: " +
                                     std::to_string(hugeStart.size() + 100 * megabyte + hugeEnd.size()) +
                                     "\r\n\r\n" + hugeStart},
                    {Kind::Repeat, padding, 100 * megabyte / padding.size()},
                    {Kind::Send, hugeEnd}}},
       .failureText = rejectedWithout,
       .memoryBound = 40 * megabyte},
      {.name = "one_byte_every_100_ms",
       .replies = {{{Kind::Drip, "HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\n<reply/>"}}}},
      {.name = "redirect_not_followed",
       .replies = {sent(redirectReplies(redirect)[0]), sent(redirectReplies(redirect)[1])},
       .failureText = redirectFailureText(redirect)},
      {.name = "unauthorized_without_credentials", .replies = {sent(challenge)}, .failureText = unauthorized},
      {.name = "unauthorized_credentials_refused",
       .replies = {sent(challenge), sent(challenge)},
       .user = u"clerk",
       .password = u"wrong",
       .failureText = unauthorized,
       .requests = 2},
      {.name = "unauthorized_credentials_accepted",
       .replies = {sent(challenge), sent(ok)},
       .user = u"clerk",
       .password = u"s3cret",
       .requests = 2},
  };
  return cases;
}

// TLS to a gateway whose certificate comes from a private authority (the Linux request).
struct TlsFaultCase {
  std::string name;
  bool authorityTrusted;
  std::string failureText;  // empty when the document is released
};

inline std::vector<TlsFaultCase> tlsFaultCases() {
  return {{"tls_private_authority_trusted", true, ""},
          {"tls_private_authority_untrusted", false, fault_text::certificate}};
}

// Releases one document of the host through the platform's path (the release script on
// Linux, the component's COM object under Wine) and gives its KfxReturnValue.
using ReleaseThrough = std::function<KfxReturnValue(MemoryHost& host)>;

// The document and settings of every case: the gateway at address, the credentials given.
inline void configureGatewayHost(MemoryHost& host, const std::string& address, const std::u16string& user = u"",
                                 const std::u16string& password = u"") {
  host.record().userName = user;
  host.record().password = password;
  host.record().customProperties = {{u"serverURL", fromUtf8(address)},
                                    {u"ExitProgramProgram", u"INVPGM"},
                                    {u"ExitProgramLibrary", u"QGPL"},
                                    {u"ExitProgramDelimiter", u"|"}};
  host.setDocumentValues({MemoryValue{u"PARM1", u"INV-2024-0042", u"", {}}});
}

// What the host was told: the exact failure text logged and sent with KFX_REL_ERROR, or,
// for an empty text, the document released.
inline void expectOutcome(const MemoryHost& host, KfxReturnValue result, const std::string& text) {
  if (text.empty()) {
    EXPECT_EQ(result, KFX_REL_SUCCESS);
    EXPECT_EQ(host.events(), std::vector<HostEvent>{loggedEvent(0, 250, u"Document Released Successfully")});
  } else {
    EXPECT_EQ(result, KFX_REL_ERROR);
    ASSERT_EQ(host.events().size(), 2u);
    EXPECT_EQ(toUtf8(host.events()[0].message), text);
    EXPECT_EQ(host.events(), (std::vector<HostEvent>{loggedEvent(1, 238, fromUtf8(text)), sentEvent(fromUtf8(text))}));
  }
}

// Plays the case against a fresh peer and checks what the host was told: the exact failure
// text logged and sent with KFX_REL_ERROR, or the document released; the requests the peer
// received; and the memory the release added at its peak.
inline void checkGatewayFault(const GatewayFaultCase& fault, const ReleaseThrough& release) {
  std::optional<LoopbackServer> server;
  int port = 0;
  if (fault.refused) {
    LoopbackServer closed;
    port = closed.port();  // nothing listens there once it is gone
  } else {
    server.emplace(fault.replies);
    port = server->port();
  }
  MemoryHost host;
  configureGatewayHost(host, "http://127.0.0.1:" + std::to_string(port), fault.user, fault.password);

  const std::size_t peakBefore = peakMemoryBytes();
  KfxReturnValue result = release(host);
  const std::size_t added = peakMemoryBytes() - peakBefore;

  expectOutcome(host, result, fault.expectedText());
  if (server) {
    std::vector<std::string> requests = server->requests();
    EXPECT_EQ(requests.size(), fault.requests);
    for (const std::string& request : requests) {
      EXPECT_TRUE(request.starts_with("POST /rpc/quorlex/ HTTP/1.1\r\n")) << request.substr(0, 200);
    }
  }
  if (fault.memoryBound != 0) {
    EXPECT_LT(added, fault.memoryBound) << "the release kept the reply";
  }
}

}  // namespace quorlex::test_support
