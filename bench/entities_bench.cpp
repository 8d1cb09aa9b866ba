// EntConvert::toEntities beside resolving the same references through the
// root manager by hand: once against the simulated host's root manager, once
// against a lockless one without journal, where the library's own share shows.
//
// Also std::sort with EntityFastCompare of shuffled entities beside the same
// sort with the comparison written inline, each comparison fetching both
// references through getReference as the comparator does: the ratio is the
// comparator's own overhead. 10,000 entities fit in the caches, 1,000,000 do
// not. Sorting allocates nothing.
#include "Comparison.h"
#include "workloads/EntityWorkloads.h"
#include "workloads/SortWorkloads.h"

namespace {

const bench::Cost kToEntities("BM_ToEntities", bench::measure<bench::ToEntities>, {1000, 10000, 100000});
const bench::Reference kFloor("BM_ToEntities", "Floor", bench::measure<bench::ResolveEach>, bench::Aim{1.2});

const bench::Cost kLockless("BM_ToEntitiesLockless", bench::measure<bench::ToEntitiesLockless>, {1000, 10000, 100000});
const bench::Reference kLocklessFloor("BM_ToEntitiesLockless", "Floor", bench::measure<bench::ResolveEachLockless>,
                                      bench::Aim{1.2});

const bench::Cost kFastCompareSort("BM_FastCompareSort", bench::measure<bench::FastCompareSort>, {10000, 1000000});
const bench::Reference kSortFloor("BM_FastCompareSort", "Floor", bench::measure<bench::FetchedWordsSort>,
                                  bench::Aim{1.2});
const bench::AllocationLimit kSortAllocatesNothing("BM_FastCompareSort", 0);

}  // namespace
