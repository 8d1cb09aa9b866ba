// The spdlog peer of a filtered debug statement (workloads/SpdlogWorkloads.h):
// the plug-in's statement, unscoped or naming a short or a long scope, aims
// to cost no more than spdlog's. Built only when spdlog is found.
#include "Comparison.h"
#include "workloads/SpdlogWorkloads.h"

namespace {

const bench::Reference kSpdlog("BM_FilteredDebugLog", "Spdlog", bench::measure<bench::SpdlogFilteredDebug>,
                               bench::Aim{1.0});
const bench::Reference kScopedShortSpdlog("BM_FilteredDebugLogScopedShort", "Spdlog",
                                          bench::measure<bench::SpdlogFilteredDebug>, bench::Aim{1.0});
const bench::Reference kScopedLongSpdlog("BM_FilteredDebugLogScopedLong", "Spdlog",
                                         bench::measure<bench::SpdlogFilteredDebug>, bench::Aim{1.0});

}  // namespace
