// The plug-in's log on its hot paths. A filtered debug statement, unscoped
// and naming a short and a long scope, beside its floor, an empty loop
// iteration (the aims against spdlog, its peer, are in spdlog_bench.cpp);
// LogHelper::logMessage of a 100-byte message to the host's logger beside
// snprintf of the same message, which shows what stamping and handing the
// line on add to the formatting, allocating nothing once the thread has
// written a message of its size. An entry is one statement or one message.
#include "Comparison.h"
#include "workloads/LogWorkloads.h"

namespace {

const bench::Cost kFiltered("BM_FilteredDebugLog", bench::measure<bench::FilteredDebugLog>, {1000});
const bench::Reference kEmptyLoop("BM_FilteredDebugLog", "EmptyLoop", bench::measure<bench::EmptyLoop>);
const bench::AllocationLimit kFilteredAllocates("BM_FilteredDebugLog", 0);

const bench::Cost kScopedShort("BM_FilteredDebugLogScopedShort", bench::measure<bench::FilteredScopedDebugLogShort>,
                               {1000});
const bench::Reference kScopedShortEmptyLoop("BM_FilteredDebugLogScopedShort", "EmptyLoop",
                                             bench::measure<bench::EmptyLoop>);
const bench::AllocationLimit kScopedShortAllocates("BM_FilteredDebugLogScopedShort", 0);

const bench::Cost kScopedLong("BM_FilteredDebugLogScopedLong", bench::measure<bench::FilteredScopedDebugLogLong>,
                              {1000});
const bench::Reference kScopedLongEmptyLoop("BM_FilteredDebugLogScopedLong", "EmptyLoop",
                                            bench::measure<bench::EmptyLoop>);
const bench::AllocationLimit kScopedLongAllocates("BM_FilteredDebugLogScopedLong", 0);

const bench::Cost kLogMessage("BM_LogMessage100", bench::measure<bench::HundredByteLogMessage>, {100});
const bench::Reference kSnprintf("BM_LogMessage100", "Snprintf", bench::measure<bench::HundredByteSnprintf>,
                                 bench::Aim{1.10});
const bench::AllocationLimit kLogMessageAllocates("BM_LogMessage100", 0);

}  // namespace
