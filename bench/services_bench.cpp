// The cached service getter beside keeping the handle yourself (the floor),
// beside the least any exported getter costs (a held handle copied out by an
// exported function of another shared library), and beside an ordered-map
// look-up of the service name.
#include "Comparison.h"
#include "workloads/ServiceWorkloads.h"

namespace {

const bench::Cost kGetter("BM_CachedServiceGetter", bench::measure<bench::CachedServiceGetter>, {1});
// Reported, not aimed: by value the getter pays one call across the library's
// boundary, which a handle held in place does not, and the time that call
// takes follows the processor.
const bench::Reference kFloor("BM_CachedServiceGetter", "Floor", bench::measure<bench::HeldServiceHandle>);
const bench::Reference kExportedCall("BM_CachedServiceGetter", "ExportedCall",
                                     bench::measure<bench::ExportedServiceHandle>, bench::Aim{1.15});
const bench::Reference kMapLookup("BM_CachedServiceGetter", "MapLookup", bench::measure<bench::ServiceMapLookup>);

}  // namespace
