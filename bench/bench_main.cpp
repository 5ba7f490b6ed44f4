// Runs the clip benchmarks and holds each against its baseline from the
// same run: absolute times on shared machines are too noisy to judge.
//
//   solvane_bench [--smoke] [Google Benchmark flags]
//   solvane_bench --write-workload DIR [--largest]
//
// --smoke: a few iterations each, ratios printed but not judged (CI).
// --write-workload: writes the workload's Lb1.qlx and Cb1.qlx into DIR and
// runs nothing, so the real program can be timed on the same history
// (scripts/bench-wine.sh); prints the number of titles. --largest: the
// history as large as the store can hold instead.
// Exit status: 1 when a benchmark failed, or (not smoke) a target was missed.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "clip_benchmarks.h"
#include "workload.h"

namespace solvane::bench {
namespace {

// Keeps every repetition's time per benchmark; shows the console report
// with only the aggregates when there are repetitions. Plain text: the
// output usually goes to a log.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    std::vector<Run> shown;
    for (const Run& run : runs) {
      if (run.error_occurred) {
        errors.push_back(run.benchmark_name() + ": " + run.error_message);
      } else if (run.run_type == Run::RT_Iteration) {
        seconds[run.run_name.function_name].push_back(run.GetAdjustedRealTime() /
                                                      benchmark::GetTimeUnitMultiplier(run.time_unit));
        for (const auto& [name, counter] : run.counters) counters[run.run_name.function_name][name] = counter.value;
      }
      if (run.repetitions <= 1 || run.run_type == Run::RT_Aggregate || run.error_occurred) shown.push_back(run);
    }
    ConsoleReporter::ReportRuns(shown);
  }

  bool Median(const std::string& name, double& out) const {
    const auto found = seconds.find(name);
    if (found == seconds.end() || found->second.empty()) return false;
    std::vector<double> times = found->second;
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    out = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return true;
  }

  // The counters of a benchmark's last run, by name.
  bool Counter(const std::string& benchmarkName, const std::string& counter, double& out) const {
    const auto found = counters.find(benchmarkName);
    if (found == counters.end()) return false;
    const auto value = found->second.find(counter);
    if (value == found->second.end()) return false;
    out = value->second;
    return true;
  }

  std::map<std::string, std::vector<double>> seconds;
  std::map<std::string, std::map<std::string, double>> counters;
  std::vector<std::string> errors;
};

std::string Human(double seconds) {
  char text[32];
  if (seconds >= 1) {
    std::snprintf(text, sizeof text, "%.3f s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
  } else if (seconds >= 1e-6) {
    std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  }
  return text;
}

// Prints one line per pair, then the same as a table; true when every pair
// that ran met its target (or, smoke, merely ran).
bool ReportRatios(const MedianReporter& reporter, bool smoke) {
  struct Row {
    std::string what, measured, baseline, ratio, target, result;
  };
  std::vector<Row> rows;
  bool ok = true;
  std::printf("\n");
  for (const RatioTarget& t : RatioTargets()) {
    double measured = 0, baseline = 0;
    const bool haveMeasured = reporter.Median(t.measured, measured);
    const bool haveBaseline = reporter.Median(t.baseline, baseline);
    if (!haveMeasured && !haveBaseline) continue;  // filtered out
    char target[32], ratio[32];
    std::snprintf(target, sizeof target, "<= %g", t.target);
    if (!haveMeasured || !haveBaseline || baseline <= 0) {
      std::printf("%s: no ratio (a benchmark of the pair did not run)\n", t.what);
      rows.push_back(
          {t.what, haveMeasured ? Human(measured) : "-", haveBaseline ? Human(baseline) : "-", "-", target, "MISSING"});
      ok = false;
      continue;
    }
    const double r = measured / baseline;
    std::snprintf(ratio, sizeof ratio, "%.3g", r);
    const bool pass = r <= t.target;
    const char* result = smoke ? "not judged (smoke)" : pass ? "PASS" : "FAIL";
    std::printf("%s: measured ratio %s (target \xE2\x89\xA4 %g) %s\n", t.what, ratio, t.target, result);
    rows.push_back({t.what, Human(measured), Human(baseline), ratio, target, result});
    if (!smoke && !pass) ok = false;
  }
  // Targets on a benchmark's own figure (a share of memory, say).
  for (const CounterTarget& t : CounterTargets()) {
    double value = 0;
    char target[32], measured[32];
    std::snprintf(target, sizeof target, "<= %g", t.target);
    if (!reporter.Counter(t.benchmark, t.counter, value)) {
      if (reporter.seconds.count(t.benchmark) == 0) continue;  // filtered out
      rows.push_back({t.what, "-", "-", "-", target, "MISSING"});
      ok = false;
      continue;
    }
    std::snprintf(measured, sizeof measured, "%.3g", value);
    const bool pass = value <= t.target;
    const char* result = smoke ? "not judged (smoke)" : pass ? "PASS" : "FAIL";
    std::printf("%s: %s (target \xE2\x89\xA4 %g) %s\n", t.what, measured, t.target, result);
    rows.push_back({t.what, measured, "-", measured, target, result});
    if (!smoke && !pass) ok = false;
  }
  std::printf("\n| what | median | baseline median | ratio | target | result |\n|---|---|---|---|---|---|\n");
  for (const Row& row : rows) {
    std::printf("| %s | %s | %s | %s | %s | %s |\n", row.what.c_str(), row.measured.c_str(), row.baseline.c_str(),
                row.ratio.c_str(), row.target.c_str(), row.result.c_str());
  }
  return ok;
}

// Writes the workload's two clip files into an existing folder, byte for
// byte; false (with a message) when a file cannot be written.
bool WriteWorkload(const std::string& folder, bool largest) {
  const Workload& w = largest ? TheLargestWorkload() : TheWorkload();
  const std::pair<const char*, const std::string*> files[] = {{"Lb1.qlx", &w.titleFile}, {"Cb1.qlx", &w.storeFile}};
  for (const auto& [name, bytes] : files) {
    const std::string path = folder + "/" + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "solvane_bench: cannot write %s\n", path.c_str());
      return false;
    }
  }
  std::printf("%zu\n", w.titles.size());
  return true;
}

}  // namespace
}  // namespace solvane::bench

int main(int argc, char** argv) {
  using namespace solvane::bench;
  bool smoke = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--write-workload") == 0) {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "solvane_bench: --write-workload needs a folder\n");
        return 2;
      }
      const bool largest = i + 2 < argc && std::strcmp(argv[i + 2], "--largest") == 0;
      return WriteWorkload(argv[i + 1], largest) ? 0 : 1;
    }
    if (std::strcmp(argv[i], "--smoke") == 0) {
      smoke = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  // Each target is a ratio of two medians, so the repetitions of a pair run
  // mixed together: a slow spell of the disk or the host then slows both
  // sides alike instead of only the one running at the time.
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  if (std::none_of(args.begin() + 1, args.end(), [](const char* arg) {
        return std::strncmp(arg, "--benchmark_enable_random_interleaving", 38) == 0;
      })) {
    args.insert(args.begin() + 1, interleave);
  }
  argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  RegisterClipBenchmarks(smoke);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  bool ok = ReportRatios(reporter, smoke);
  for (const std::string& error : reporter.errors) {
    std::printf("error: %s\n", error.c_str());
    ok = false;
  }
  std::fflush(stdout);
  return ok ? 0 : 1;
}
