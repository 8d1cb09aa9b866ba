// Whether the engineering-object model (EOM) records its changes for the
// host's undo, offered by the EOM service ("Zol.EOM.EOMCore").
//
//   bool suspended = false, restoring = false;
//   if (auto undoRedo = Zol::interfaceCast<Zol::EOM::IEOMUndoRedoInterface>(eomCore)) {
//     undoRedo->getTrackingState(suspended, restoring);
//   }
#pragma once

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::EOM {

/// ("Zol.EOM.IEOMUndoRedo")
class IEOMUndoRedoInterface : public ZolIServiceInterface {
 public:
  static constexpr ZolInterfaceDescriptor descriptor{"Zol.EOM.IEOMUndoRedo"};
  /// Writes whether change tracking is suspended now, and whether the EOM is
  /// restoring an earlier state (replaying an undo or a redo).
  virtual ZolResult_24_8 getTrackingState(bool& suspended, bool& restoring) = 0;
};

}  // namespace Zol::EOM
