// Release throughput against the gateway emulator on loopback, next to a plain libcurl loop
// posting the same bodies; body building next to copying the same bytes; peak memory after
// many releases in one process. Prints the ratios at the end.
#include <curl/curl.h>
#include <sched.h>
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_invoice.h"
#include "common/text.h"
#include "gateway/multipart_form.h"
#include "release/host_log.h"
#include "release/release_script.h"
#include "testhost/memory_host.h"
#include "tools/support/child_process.h"

namespace {

using namespace quorlex;

std::string gatewayAddress() {
  static support::BackgroundProcess gateway({QUORLEX_GATEWAY_PROGRAM, "--port", "0", "--quiet"});
  static const std::string address = [] {
    std::optional<std::string> port = gateway.readLine();
    if (!port) {
      std::fprintf(stderr, "release_bench: the gateway emulator did not start\n");
      std::exit(1);
    }
    return "http://127.0.0.1:" + *port;
  }();
  return address;
}

void setUpInvoice(MemoryHost& host) { bench::setUpInvoice(host, fromUtf8(gatewayAddress())); }

long peakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

void releaseDocuments(MemoryHost& host, releaseScript& script, benchmark::State& state, std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i) {
    KfxReturnValue result = KFX_REL_ERROR;
    script.ReleaseDoc(result);
    host.clearEvents();
    if (result != KFX_REL_SUCCESS) {
      state.SkipWithError("a document was not released");
      return;
    }
  }
}

// Runs first, before any other benchmark has grown the process.
void PeakMemoryAfterReleasing(benchmark::State& state) {
  MemoryHost host;
  setUpInvoice(host);
  releaseScript script;
  script.setDocumentData(host.releaseData());
  for (auto _ : state) releaseDocuments(host, script, state, state.range(0));
  state.counters["peak_rss_KiB"] = static_cast<double>(peakResidentKiB());
  clearLoggingTarget();
}
BENCHMARK(PeakMemoryAfterReleasing)->Arg(1000)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

std::size_t discardReply(char*, std::size_t size, std::size_t count, void*) { return size * count; }

// The same posts without the connector: one reused handle, the body built once.
class PlainCurlLoop {
 public:
  PlainCurlLoop() : body_(bench::invoiceBody()), url_(gatewayAddress() + "/rpc/quorlex/"), easy_(curl_easy_init()) {
    for (const char* header : {"If-Modified-Since: Sat, 1 Jan 2000 00:00:00 GMT", "charset: utf-8",
                               "Content-type: multipart/form-data; boundary=---------------------------tarvRel",
                               "Expect:"}) {
      headers_ = curl_slist_append(headers_, header);
    }
    curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
    curl_easy_setopt(easy_, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body_.size()));
    curl_easy_setopt(easy_, CURLOPT_POSTFIELDS, body_.data());
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &discardReply);
  }
  ~PlainCurlLoop() {
    curl_slist_free_all(headers_);
    curl_easy_cleanup(easy_);
  }
  bool post() {
    long status = 0;
    return curl_easy_perform(easy_) == CURLE_OK && curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK &&
           status == 200;
  }

 private:
  std::string body_;
  std::string url_;
  CURL* easy_;
  curl_slist* headers_ = nullptr;
};

// ReleaseDoc and the plain loop take turns, a block of posts each, so that both see the same
// machine: what else runs on it changes both alike.
void ReleaseDocAgainstPlainLoop(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  constexpr int rounds = 20;
  constexpr int block = 100;
  MemoryHost host;
  setUpInvoice(host);
  releaseScript script;
  script.setDocumentData(host.releaseData());
  PlainCurlLoop plain;
  Clock::duration releaseTime{};
  Clock::duration plainTime{};
  for (auto _ : state) {
    for (int round = 0; round < rounds; ++round) {
      Clock::time_point start = Clock::now();
      releaseDocuments(host, script, state, block);
      Clock::time_point middle = Clock::now();
      for (int i = 0; i < block; ++i) {
        if (!plain.post()) state.SkipWithError("a post was not taken");
      }
      releaseTime += middle - start;
      plainTime += Clock::now() - middle;
    }
  }
  double posts = static_cast<double>(state.iterations()) * rounds * block;
  double releasePerSecond = posts / std::chrono::duration<double>(releaseTime).count();
  double plainPerSecond = posts / std::chrono::duration<double>(plainTime).count();
  state.counters["ReleaseDoc_per_s"] = releasePerSecond;
  state.counters["plain_loop_per_s"] = plainPerSecond;
  state.counters["ratio"] = releasePerSecond / plainPerSecond;
  clearLoggingTarget();
}
BENCHMARK(ReleaseDocAgainstPlainLoop)->Iterations(1)->Repetitions(7)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

const std::u16string megabyteValue(1 << 20, u'x');

// Twenty parameters, one of them 1 MB, behind the three exit-program fields.
void fillLargeForm(MultipartForm& form) {
  (void)form.addField(u"ExitProgramName", u"INVPGM");
  (void)form.addField(u"ExitProgramLib", u"QGPL");
  (void)form.addField(u"Delimiter", u"|");
  for (int number = 1; number <= 20; ++number) {
    (void)form.addField(u"PARM" + decimalText(number), number == 7 ? std::u16string_view(megabyteValue) : u"INV-1002");
  }
  (void)form.writeTerminator();
}

void BuildLargeBody(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state) {
    MultipartForm form;
    fillLargeForm(form);
    size = form.bodyLength();
    benchmark::DoNotOptimize(form.bodyBytes().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BuildLargeBody)->Unit(benchmark::kMicrosecond);

void CopyLargeBody(benchmark::State& state) {
  MultipartForm form;
  fillLargeForm(form);
  auto bytes = form.bodyBytes();
  for (auto _ : state) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(CopyLargeBody)->Unit(benchmark::kMicrosecond);

// Keeps every run's counters for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      for (const auto& [name, counter] : run.counters) values[run.benchmark_name()][name] = counter.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::map<std::string, double>> values;
};

}  // namespace

// The benchmark and the emulator it starts share one processor: on two, which of a
// connection's two threads lands where swings a loopback round trip between about 35 and
// 80 us, and the comparison would measure the scheduler instead of the connector.
void keepToOneProcessor() {
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(sched_getcpu(), &one);
  (void)sched_setaffinity(0, sizeof one, &one);
}

int main(int argc, char** argv) {
  keepToOneProcessor();
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto& v = reporter.values;
  auto ratio = [&](const std::string& a, const std::string& b, const std::string& counter) {
    double bottom = v[b][counter];
    return bottom > 0 ? v[a][counter] / bottom : 0.0;
  };
  std::printf("\nReleaseDoc against the plain libcurl loop: %.2f (aim: at least 0.9)\n",
              v["ReleaseDocAgainstPlainLoop/iterations:1/repeats:7_median"]["ratio"]);
  std::printf("body building against copying the same bytes: %.2f (aim: at least 0.3)\n",
              ratio("BuildLargeBody", "CopyLargeBody", "bytes_per_second"));
  std::printf("peak resident memory after 1,000 documents: %.1f MiB, after 20,000: %.1f MiB (aim: no growth)\n",
              v["PeakMemoryAfterReleasing/1000/iterations:1"]["peak_rss_KiB"] / 1024,
              v["PeakMemoryAfterReleasing/20000/iterations:1"]["peak_rss_KiB"] / 1024);
  benchmark::Shutdown();
  return 0;
}
