#include "WyrdanPluginUtilities/commands/UndoRedoHelper.h"

#include <cstdint>

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ICmdProcessor.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/eom/IEOMUndoRedo.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

UndoRedoHelper& UndoRedoHelper::operator=(UndoRedoHelper const&) = default;
UndoRedoHelper& UndoRedoHelper::operator=(UndoRedoHelper&&) noexcept = default;

bool UndoRedoHelper::isEOMTracking() {
  const auto undoRedo = Zol::interfaceCastOrThrow<Zol::EOM::IEOMUndoRedoInterface>(ServiceHelper::getEOMUtility());
  if (!undoRedo) return true;
  bool suspended = false;
  bool restoring = false;  // the host's business, not ours
  undoRedo->getTrackingState(suspended, restoring);
  return !suspended;
}

bool UndoRedoHelper::isUndoRedoCommand() {
  const ZolSmartPointer<appfw::ICmdProcessorInterface> processor = appfw::ServiceCacheAppFrame::commandProcessor_;
  if (!processor) return false;
  ZolSequence<std::int32_t> ids;
  processor->getRunningCommandIds(ids);
  for (const std::int32_t id : ids) {
    ZolSmartPointer<appfw::ICmdCommandInterface> command;
    processor->getCommandById(id, command);
    if (!command) continue;
    appfw::CmdIdentity identity;
    command->getIdentity(identity);
    if (identity.commandName == "RedoCommand" || identity.commandName == "UndoCommand") return true;
  }
  return false;
}

}  // namespace kyr::orla::plugin::wyrdan
