// Keeping the times of the runs and the ratios between them.
#include "ratio_reporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run> &runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run &run : runs) {
    if (run.error_occurred || run.run_type != Run::RT_Iteration)
      continue;
    const double nanoseconds =
        benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond) /
        benchmark::GetTimeUnitMultiplier(run.time_unit);
    times_[run.benchmark_name()] = {run.GetAdjustedRealTime(),
                                    run.GetAdjustedCPUTime(), nanoseconds};
    for (const auto &[name, counter] : run.counters)
      counters_[name] = counter.value;
  }
}

const RunTimes *RatioReporter::Find(const std::string &name) const {
  const auto exact = times_.find(name);
  if (exact != times_.end())
    return &exact->second;
  for (const auto &[runName, times] : times_)
    if (runName.rfind(name, 0) == 0 &&
        (runName.size() == name.size() || runName[name.size()] == '/'))
      return &times;
  return nullptr;
}

double RatioReporter::Real(const std::string &name) const {
  const RunTimes *times = Find(name);
  return times ? times->real : 0.0;
}

double RatioReporter::Cpu(const std::string &name) const {
  const RunTimes *times = Find(name);
  return times ? times->cpu : 0.0;
}

double RatioReporter::Counter(const std::string &name) const {
  const auto found = counters_.find(name);
  return found == counters_.end() ? 0.0 : found->second;
}

std::string RatioReporter::Ratio(const std::string &ours,
                                 const std::string &peer) const {
  const RunTimes *a = Find(ours);
  const RunTimes *b = Find(peer);
  double cpu = -1, real = -1;
  if (a && b && b->cpu > 0 && b->real > 0) {
    cpu = a->cpu * a->nanoseconds / (b->cpu * b->nanoseconds);
    real = a->real * a->nanoseconds / (b->real * b->nanoseconds);
  }
  char text[64];
  std::snprintf(text, sizeof text, "%.2f (wall time %.2f)", cpu, real);
  return text;
}
