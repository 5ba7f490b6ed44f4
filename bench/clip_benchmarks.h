#pragma once
// The benchmark pairs: each measured operation with the baseline it is held
// against in the same run.

#include <vector>

namespace solvane::bench {

struct RatioTarget {
  const char* what;
  const char* measured;  // benchmark names
  const char* baseline;
  double target;  // the measured median may be at most this times the baseline's
};

const std::vector<RatioTarget>& RatioTargets();

// A benchmark's own counter held against a target: it may be at most that.
struct CounterTarget {
  const char* what;
  const char* benchmark;
  const char* counter;
  double target;
};

const std::vector<CounterTarget>& CounterTargets();

// Smoke: a few iterations each, one repetition: they build and run.
void RegisterClipBenchmarks(bool smoke);

}  // namespace solvane::bench
