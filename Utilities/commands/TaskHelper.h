/// \class kyr::orla::plugin::wyrdan::TaskHelper
/// \ingroup wyrdan_commands
/// Hands a function to the host, to be run on the host's work thread. The
/// function travels in a TaskInvoker inside the payload of the GUI action
/// "KYR.WyrdanPlugin.TaskInvoker", together with the show-wait flag.
///
/// \par Threads and exceptions
/// May be called on several threads at once: the GUI executive comes from the
/// service cache (ServiceHelper), which serves several threads; the function
/// itself may run on any thread the host chooses. Host exceptions pass to the
/// caller; Zol::ZolSystemException_24 when the GUI executive service is not a
/// GUI executive.
///
/// \code
///   TaskHelper::execteSyncOnWorkThread([model] { model->rebuild(); }, true);
/// \endcode
///
/// Whether the call returns before or after the function has run, and how the
/// wait cursor shows, is the GUI action's handler's choice, not the library's.
/// Static only.
#pragma once

#include <functional>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT TaskHelper {
 public:
  ///@{

  /// Assignment copies nothing: the class has no state. Never throws.
  TaskHelper& operator=(TaskHelper const& other);
  TaskHelper& operator=(TaskHelper&& other) noexcept;
  ///@}

  /// Wraps `function` in a TaskInvoker and asks the GUI executive to run the
  /// GUI action "KYR.WyrdanPlugin.TaskInvoker" with the payload "invoker"
  /// (the invoker), "method" ("ExecteSyncOnWorkThread") and "showWait"
  /// (`showWait`); the action's answer is dropped. Without a GUI executive
  /// the function is dropped unrun. The invoker lives as long as the host
  /// holds it. Throws Zol::ZolSystemException_24 when the
  /// "kyr.orla.appfw.GuiExecutive" service is not a GUI executive; the host's
  /// exceptions pass to the caller.
  static void execteSyncOnWorkThread(std::function<void()>&& function, bool showWait);

 private:
  // Static only: nothing makes one.
  TaskHelper() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
