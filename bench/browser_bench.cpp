// BrowserHelper::updateNodes over 10 to 10,000 entities, beside its floor
// (the same announcement written by hand: type name, entity list, reference
// list, record, publish). An entry is one entity announced. The fixed cost
// of one announcement dominates at 10 entities; what matters is that the
// cost per entity stays flat as the selection grows, held to a scaling limit
// from 100 entities to 10,000.
#include "Comparison.h"
#include "workloads/BrowserWorkloads.h"

namespace {

const bench::Cost kUpdateNodes("BM_UpdateNodes", bench::measure<bench::UpdateNodes>, {10, 100, 1000, 10000});
const bench::Reference kFloor("BM_UpdateNodes", "Floor", bench::measure<bench::UpdateNodesFloor>, bench::Aim{1.3});
const bench::ScalingLimit kFlat("BM_UpdateNodes", 100, 10000, 1.5);

}  // namespace
