#include "kyr/appfw/ModelBrowserRecords.h"

namespace kyr::orla::appfw {

namespace {
const Zol::ZolTypeRegistration kNodeInsertion{"kyr.orla.appfw.NodeInsertion", kNodeInsertionTypeId};
const Zol::ZolTypeRegistration kNodesAddition{"kyr.orla.appfw.NodesAddition", kNodesAdditionTypeId};
const Zol::ZolTypeRegistration kNodesUpdate{"kyr.orla.appfw.NodesUpdate", kNodesUpdateTypeId};
const Zol::ZolTypeRegistration kNodesRemoval{"kyr.orla.appfw.NodesRemoval", kNodesRemovalTypeId};
const Zol::ZolTypeRegistration kCmdContext{"kyr.orla.appfw.CmdContext", kCmdContextTypeId};
}  // namespace

Zol::ZolTypeCode_24_8 getTC_NodeInsertion() noexcept { return kNodeInsertion.typeCode(); }
Zol::ZolTypeCode_24_8 getTC_NodesAddition() noexcept { return kNodesAddition.typeCode(); }
Zol::ZolTypeCode_24_8 getTC_NodesUpdate() noexcept { return kNodesUpdate.typeCode(); }
Zol::ZolTypeCode_24_8 getTC_NodesRemoval() noexcept { return kNodesRemoval.typeCode(); }
Zol::ZolTypeCode_24_8 getTC_CmdContext() noexcept { return kCmdContext.typeCode(); }

}  // namespace kyr::orla::appfw
