// The msgpack-c peer of the parameter bunch's round trip
// (workloads/MsgpackWorkloads.h): at 20 entries and more the bunch aims to
// cost no more than msgpack-c's map of objects. Built only when msgpack-c is
// found.
#include "Comparison.h"
#include "workloads/MsgpackWorkloads.h"

namespace {

const bench::Reference kMsgpack("BM_BunchRoundTrip", "Msgpack", bench::measure<bench::MsgpackRoundTrip>,
                                bench::Aim{1.0, 20});

}  // namespace
