// EntConvert::toEntities beside resolving the same references through the
// root manager by hand: once against the simulated host's root manager, once
// against a lockless one without journal, where the library's own share shows.
#include "Comparison.h"
#include "workloads/EntityWorkloads.h"

namespace {

const bench::Cost kToEntities("BM_ToEntities", bench::measure<bench::ToEntities>, {1000, 10000, 100000});
const bench::Reference kFloor("BM_ToEntities", "Floor", bench::measure<bench::ResolveEach>, bench::Aim{1.2});

const bench::Cost kLockless("BM_ToEntitiesLockless", bench::measure<bench::ToEntitiesLockless>,
                            {1000, 10000, 100000});
const bench::Reference kLocklessFloor("BM_ToEntitiesLockless", "Floor", bench::measure<bench::ResolveEachLockless>,
                                      bench::Aim{1.2});

}  // namespace
