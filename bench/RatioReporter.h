// Prints each benchmark's cost beside its floor from the same run. A
// benchmark named X is paired with X_Floor (same arguments); both report the
// "entries" counter, so costs are compared per entry. With repetitions the
// medians are compared.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

namespace bench {

/// Declares the ratio a benchmark aims for (at most `maxRatio` times its floor).
struct RatioTarget {
  RatioTarget(const char* benchmark, double maxRatio);
};

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct Cost {
    double perEntry = 0;
    bool measured = false;
  };
  // By benchmark name without the _Floor suffix, then by arguments.
  std::map<std::string, std::map<std::string, std::pair<Cost, Cost>>> costs_;
  std::vector<std::string> order_;
};

}  // namespace bench
