/// \class kyr::orla::plugin::wyrdan::UndoRedoHelper
/// \ingroup wyrdan_commands
/// What plug-in code asks before it reacts to a model change: whether the
/// engineering-object model (EOM) records changes for undo now, and whether
/// the host is running its own undo or redo command.
///
/// \par Threads and exceptions
/// isUndoRedoCommand may run on any thread on which the host's services may be
/// called; so may isEOMTracking, which finds its service through the service
/// cache (ServiceHelper), serving several threads at once. Nothing is caught:
/// host exceptions pass to the caller, and isEOMTracking throws
/// Zol::ZolSystemException_24 when the EOM service lacks the undo/redo
/// interface.
///
/// \code
///   if (UndoRedoHelper::isUndoRedoCommand()) return;  // the host replays the change itself
/// \endcode
///
/// Stateless; reads host state only. Nothing is logged.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT UndoRedoHelper {
 public:
  ///@{

  /// Assignment copies nothing: the class has no state. Never throws.
  UndoRedoHelper& operator=(UndoRedoHelper const& other);
  UndoRedoHelper& operator=(UndoRedoHelper&& other) noexcept;
  ///@}

  /// False only when the EOM service ("Zol.EOM.EOMCore") reports its change
  /// tracking suspended; true without the service or when the state cannot
  /// be read (the query's result is not examined: a failing query that
  /// writes nothing reads as tracking). Throws Zol::ZolSystemException_24
  /// when the service lacks the undo/redo interface ("Zol.EOM.IEOMUndoRedo");
  /// host exceptions pass.
  static bool isEOMTracking();
  /// True when one of the commands the host's command processor is running
  /// is named exactly "UndoCommand" or "RedoCommand", in any context. False
  /// without a command processor or a running command. Host exceptions pass.
  static bool isUndoRedoCommand();

 private:
  // Static only: nothing makes one.
  UndoRedoHelper() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
