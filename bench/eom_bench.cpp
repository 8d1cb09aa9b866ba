// GenerativeHelper::bulkGenerateObjects over objects that each appear twice,
// beside its floor: a stable sort and unique by GUID of a copy, every GUID
// fetched through the object's virtual getGUID as EOMCompare fetches it, then
// the helper's calls per object and the hand-over to the dependency manager.
// An entry is one object of the input, duplicates included.
#include "Comparison.h"
#include "workloads/GenerateWorkloads.h"

namespace {

const bench::Cost kBulkGenerate("BM_BulkGenerate", bench::measure<bench::BulkGenerate>, {10000, 100000});
const bench::Reference kFloor("BM_BulkGenerate", "Floor", bench::measure<bench::SortUniqueGenerate>, bench::Aim{1.5});

}  // namespace
