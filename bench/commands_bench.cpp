// The parameter bunch's any round trip over a mixed payload (see
// workloads/BunchWorkloads.h) beside the least a serialising round trip of
// the same map does (the floor) and beside copying the map without
// serialising it. The Qt and msgpack-c peers are declared in qt_bench.cpp and
// msgpack_bench.cpp.
#include "Comparison.h"
#include "workloads/BunchWorkloads.h"

namespace {

const bench::Cost kRoundTrip("BM_BunchRoundTrip", bench::measure<bench::BunchRoundTrip>, {1, 20, 256, 10000});
const bench::Reference kFloor("BM_BunchRoundTrip", "Floor", bench::measure<bench::BunchByteRoundTrip>,
                              bench::Aim{1.2, 20});
const bench::Reference kMapCopy("BM_BunchRoundTrip", "MapCopy", bench::measure<bench::BunchMapCopy>);

}  // namespace
