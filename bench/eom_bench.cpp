// GenerativeHelper::bulkGenerateObjects over objects that each appear twice,
// beside its floor: each GUID fetched once through the object's virtual
// getGUID, the GUIDs sorted with the objects' positions and made unique,
// then the helper's calls per object and the hand-over to the dependency
// manager. An entry is one object of the input, duplicates included.
#include "Comparison.h"
#include "workloads/GenerateWorkloads.h"

namespace {

const bench::Cost kBulkGenerate("BM_BulkGenerate", bench::measure<bench::BulkGenerate>, {10000, 100000});
const bench::Reference kFloor("BM_BulkGenerate", "Floor", bench::measure<bench::SortUniqueGenerate>, bench::Aim{1.2});

}  // namespace
