// The Qt peer of the parameter bunch's round trip (workloads/QtWorkloads.h):
// at 20 entries and more the bunch aims at a quarter of Qt's cost. Built only
// when Qt 5 is found.
#include "Comparison.h"
#include "workloads/QtWorkloads.h"

namespace {

const bench::Reference kQt("BM_BunchRoundTrip", "Qt", bench::measure<bench::QtVariantRoundTrip>, bench::Aim{0.25, 20});

}  // namespace
