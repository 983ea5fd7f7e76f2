// The console reporter of the benchmark programs. It also keeps the times
// of every run by name, so that a program's main can print its figures as
// ratios against the peers measured in the same run.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

struct RunTimes {
  // In the benchmark's own time unit, as the console prints them.
  double real = 0;
  double cpu = 0;
  // Nanoseconds per unit, to compare benchmarks of different units.
  double nanoseconds = 1;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run> &runs) override;

  // The times of the benchmark of that name as printed, or else of the
  // first one whose name starts with it ("BM_Load" for
  // "BM_Load/iterations:3/real_time"); null when none ran without error.
  const RunTimes *Find(const std::string &name) const;
  // Real and CPU time of Find(name) in its own unit; 0 when none ran.
  double Real(const std::string &name) const;
  double Cpu(const std::string &name) const;
  // The last value of a user counter; 0 when no run set it.
  double Counter(const std::string &name) const;
  // The ratio of CPU times, ours over peer's (what the program does,
  // whatever else runs on the machine), then that of real times:
  // "1.23 (wall time 1.25)"; -1 for a figure that is missing.
  std::string Ratio(const std::string &ours, const std::string &peer) const;

private:
  std::map<std::string, RunTimes> times_;
  std::map<std::string, double> counters_;
};
