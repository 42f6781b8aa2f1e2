// Release throughput through COM under Wine: quorlex-host.exe releasing a batch through the
// registered component, next to a plain loop of WinHTTP's own functions posting the same
// prebuilt body with the same headers, a new session and connection a post as the component
// makes them. The two take turns, a batch each; the host's starting (Wine, COM, the DLL) and
// the connection's opening are left out of both. Run by bench/com_release_bench.
// Usage: com_release_bench.exe GATEWAY_URL HOST_EXE [DOCUMENTS [ROUNDS]] (2000 and 5)
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "bench/bench_invoice.h"
#include "common/text.h"
#include "common/unique_handle.h"
#include "gateway/multipart_form.h"
#include "gateway/unique_hinternet_win32.h"
#include "release/release_script.h"
#include "testhost/memory_host.h"

namespace {

using namespace quorlex;
using Clock = std::chrono::steady_clock;

std::wstring wideText(std::string_view text) {
  std::u16string converted = fromUtf8(text);
  return std::wstring(converted.begin(), converted.end());
}

// The invoice of bench_invoice.h as a host file gives it, for a batch of that many.
std::string invoiceHostFile(const std::string& gatewayUrl, int documents) {
  std::string text =
      R"({"batchClassName": "Invoices", "docClassName": "Invoice", "setup": {"name": "AP", "userName": "", )"
      R"("password": "", "customProperties": {"serverURL": ")" +
      gatewayUrl +
      R"(", "ExitProgramProgram": "INVPGM", "ExitProgramLibrary": "QGPL", "ExitProgramDelimiter": "|"}, "links": [)"
      R"({"source": "InvoiceNumber", "sourceType": 0, "destination": "PARM1"}, )"
      R"({"source": "Vendor", "sourceType": 0, "destination": "PARM2"}, )"
      R"({"source": "Amount", "sourceType": 0, "destination": "PARM3"}, )"
      R"({"source": "Lines", "sourceType": 0, "destination": "PARM4"}, )"
      R"({"source": "Batch Name", "sourceType": 2, "destination": "PARM5"}, )"
      R"({"source": "AP", "sourceType": 1, "destination": "PARM6"}]}, "documents": [)";
  for (int i = 0; i < documents; ++i) {
    if (i > 0) text += ", ";
    text += R"({"fields": {"InvoiceNumber": "INV-1002", "Vendor": "Nordlicht Papier AG", "Amount": "87.20", )"
            R"("Lines": {"table": "InvoiceLines", "rows": ["A4 paper, 10 reams", "Toner, black", "Delivery"]}}, )"
            R"("variables": {"Batch Name": "B-2024-0415"}})";
  }
  return text + "]}";
}

// The plain loop: exactly the calls a post needs, nothing around them.
class PlainWinHttpLoop {
 public:
  explicit PlainWinHttpLoop(const std::string& gatewayUrl) : body_(bench::invoiceBody()) {
    std::wstring url = wideText(gatewayUrl);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    if (WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) {
      host_.assign(parts.lpszHostName, parts.dwHostNameLength);
      port_ = parts.nPort;
    }
    headers_ = L"If-Modified-Since: Sat, 1 Jan 2000 00:00:00 GMT\r\ncharset: utf-8\r\n"
               L"Content-type: multipart/form-data; boundary=---------------------------tarvRel\r\n"
               L"Content-Length: " +
               std::to_wstring(body_.size());
  }

  bool post() {
    unique_hinternet session(
        WinHttpOpen(L"quorlex", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return false;
    unique_hinternet connection(WinHttpConnect(session.get(), host_.c_str(), port_, 0));
    if (!connection) return false;
    unique_hinternet request(WinHttpOpenRequest(connection.get(), L"POST", L"/rpc/quorlex/", nullptr,
                                                WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    DWORD length = static_cast<DWORD>(body_.size());
    if (!request ||
        !WinHttpAddRequestHeaders(request.get(), headers_.c_str(), static_cast<DWORD>(-1), WINHTTP_ADDREQ_FLAG_ADD) ||
        !WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, body_.data(), length, length, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr)) {
      return false;
    }
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
      return false;
    }
    char reply[4096];
    DWORD read = 0;
    while (WinHttpReadData(request.get(), reply, sizeof reply, &read) && read > 0) {
    }
    return status == 200;
  }

 private:
  std::string body_;
  std::wstring host_;
  INTERNET_PORT port_ = 0;
  std::wstring headers_;
};

// Posts per second from the end of the first post, which opens the connection, to the end of
// the last.
std::optional<double> plainLoopRate(PlainWinHttpLoop& loop, int documents) {
  if (!loop.post()) return std::nullopt;
  Clock::time_point first = Clock::now();
  for (int i = 1; i < documents; ++i) {
    if (!loop.post()) return std::nullopt;
  }
  return (documents - 1) / std::chrono::duration<double>(Clock::now() - first).count();
}

// Two host files of the invoice in the temporary folder, removed again at the end.
struct HostFiles {
  std::wstring one;
  std::wstring many;
  ~HostFiles() {
    if (!one.empty()) (void)DeleteFileW(one.c_str());
    if (!many.empty()) (void)DeleteFileW(many.c_str());
  }
};

bool writeTemporaryFile(const std::string& text, std::wstring& path) {
  wchar_t folder[MAX_PATH];
  wchar_t name[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"qxb", 0, name)) return false;
  path = name;
  unique_handle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size();
}

// Runs quorlex-host.exe release FILE to its end, its output discarded; the wall time, or
// none unless it released every document.
std::optional<Clock::duration> hostRun(const std::wstring& hostProgram, const std::wstring& hostFile) {
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  unique_handle discard(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                    OPEN_EXISTING, 0, nullptr));
  if (!discard) return std::nullopt;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = discard.get();
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::wstring commandLine = L"\"" + hostProgram + L"\" release \"" + hostFile + L"\"";
  PROCESS_INFORMATION started{};
  Clock::time_point start = Clock::now();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
    return std::nullopt;
  }
  unique_handle process(started.hProcess);
  unique_handle thread(started.hThread);
  DWORD exitCode = 1;
  (void)WaitForSingleObject(process.get(), INFINITE);
  Clock::duration took = Clock::now() - start;
  (void)GetExitCodeProcess(process.get(), &exitCode);
  if (exitCode != 0) return std::nullopt;
  return took;
}

// Documents per second of the host beyond its first document: a batch of one and a batch of
// many, the difference between the two runs. Starting the host (Wine, COM, the DLL) and its
// first post, which opens the connection, cancel out.
std::optional<double> hostRate(const std::wstring& hostProgram, const HostFiles& files, int documents) {
  std::optional<Clock::duration> one = hostRun(hostProgram, files.one);
  std::optional<Clock::duration> many = hostRun(hostProgram, files.many);
  if (!one || !many || *many <= *one) return std::nullopt;
  return (documents - 1) / std::chrono::duration<double>(*many - *one).count();
}

// Where the time goes: the component's own post (form and request) and its ReleaseDoc on an
// in-memory host, both in this process without COM.
std::optional<double> componentPostRate(const std::string& gatewayUrl, int documents) {
  std::u16string url = fromUtf8(gatewayUrl + "/rpc/quorlex/");
  Clock::time_point first{};
  for (int i = 0; i < documents; ++i) {
    MultipartForm form;
    bench::addInvoiceFields(form);
    std::unique_ptr<ReplyDocument> reply;
    std::u16string error;
    if (!form.post(url, u"", u"", reply, error, createHttpRequest)) return std::nullopt;
    if (i == 0) first = Clock::now();
  }
  return (documents - 1) / std::chrono::duration<double>(Clock::now() - first).count();
}

std::optional<double> inProcessRate(const std::string& gatewayUrl, int documents) {
  MemoryHost host;
  bench::setUpInvoice(host, fromUtf8(gatewayUrl));
  releaseScript script;
  script.setDocumentData(host.releaseData());
  Clock::time_point first{};
  for (int i = 0; i < documents; ++i) {
    KfxReturnValue result = KFX_REL_ERROR;
    script.ReleaseDoc(result);
    host.clearEvents();
    if (result != KFX_REL_SUCCESS) return std::nullopt;
    if (i == 0) first = Clock::now();
  }
  return (documents - 1) / std::chrono::duration<double>(Clock::now() - first).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

int fail(const char* message) {
  std::fprintf(stderr, "com_release_bench: %s\n", message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: com_release_bench.exe GATEWAY_URL HOST_EXE [DOCUMENTS [ROUNDS]]\n");
    return 2;
  }
  std::string gatewayUrl = argv[1];
  std::wstring hostProgram = wideText(argv[2]);
  int documents = argc > 3 ? std::max(2, std::atoi(argv[3])) : 2000;
  int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;

  HostFiles files;
  if (!writeTemporaryFile(invoiceHostFile(gatewayUrl, 1), files.one) ||
      !writeTemporaryFile(invoiceHostFile(gatewayUrl, documents), files.many)) {
    return fail("cannot write the host files");
  }

  PlainWinHttpLoop plain(gatewayUrl);
  std::vector<double> hostRates;
  std::vector<double> plainRates;
  std::vector<double> postRates;
  std::vector<double> inProcessRates;
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    std::optional<double> host = hostRate(hostProgram, files, documents);
    if (!host) return fail("quorlex-host.exe did not release every document");
    std::optional<double> loop = plainLoopRate(plain, documents);
    if (!loop) return fail("a post of the plain loop was not answered 200");
    std::optional<double> post = componentPostRate(gatewayUrl, documents);
    std::optional<double> inProcess = inProcessRate(gatewayUrl, documents);
    if (!post || !inProcess) return fail("the component's post in this process failed");
    hostRates.push_back(*host);
    plainRates.push_back(*loop);
    postRates.push_back(*post);
    inProcessRates.push_back(*inProcess);
    ratios.push_back(*host / *loop);
    std::printf("round %d: quorlex-host.exe %.0f documents/s, plain WinHTTP loop %.0f posts/s, ratio %.2f "
                "(in this process: post %.0f/s, ReleaseDoc %.0f/s)\n",
                round + 1, *host, *loop, *host / *loop, *post, *inProcess);
    std::fflush(stdout);
  }
  std::printf("\nmedians of %d rounds of %d documents:\n", rounds, documents);
  std::printf("  quorlex-host.exe through COM  %6.0f documents/s\n", median(hostRates));
  std::printf("  the plain WinHTTP loop        %6.0f posts/s\n", median(plainRates));
  std::printf("  post alone, in this process   %6.0f posts/s\n", median(postRates));
  std::printf("  ReleaseDoc without COM        %6.0f documents/s\n", median(inProcessRates));
  std::printf("COM release against the plain WinHTTP loop: %.2f (aim: at least 0.9)\n", median(ratios));
  return 0;
}
