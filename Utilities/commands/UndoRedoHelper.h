// UndoRedoHelper: what plug-in code asks before it reacts to a model change:
// whether the engineering-object model (EOM) records changes for undo now,
// and whether the host is running its own undo or redo command.
//
//   if (UndoRedoHelper::isUndoRedoCommand()) return;  // the host replays the change itself
//
// Stateless; reads host state only, on any thread on which the host's
// services may be called. Nothing is caught or logged.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT UndoRedoHelper {
 public:
  UndoRedoHelper() = delete;
  UndoRedoHelper& operator=(UndoRedoHelper const& other);
  UndoRedoHelper& operator=(UndoRedoHelper&& other) noexcept;

  /// False only when the EOM service ("Zol.EOM.EOMCore") reports its change
  /// tracking suspended; true without the service or when the state cannot
  /// be read. Throws Zol::ZolSystemException_24 when the service lacks the
  /// undo/redo interface ("Zol.EOM.IEOMUndoRedo"); host exceptions pass.
  static bool isEOMTracking();
  /// True when one of the commands the host's command processor is running
  /// is named exactly "UndoCommand" or "RedoCommand", in any context. False
  /// without a command processor or a running command. Host exceptions pass.
  static bool isUndoRedoCommand();
};

}  // namespace kyr::orla::plugin::wyrdan
