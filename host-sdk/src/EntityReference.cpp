#include "zol/persistence/EntityReference.h"

namespace Zol::PersistenceFW::CAEData {

namespace {
const ZolTypeRegistration kEntityReference{"Zol.PersistenceFW.CAEData.EntityReference", kEntityReferenceTypeId};
}

ZolTypeCode_24_8 getTC_EntityReference() noexcept { return kEntityReference.typeCode(); }

}  // namespace Zol::PersistenceFW::CAEData
