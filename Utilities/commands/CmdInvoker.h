/// \class kyr::orla::plugin::wyrdan::CmdInvoker
/// \ingroup wyrdan_commands
/// Runs one host command. It asks the host's command processor for the
/// command of a name in a context, adjusts its option flags, executes it with
/// a parameter bunch (here or on the host's work thread) and reads back its
/// output parameters, return value and undo/redo command.
///
/// \par Threads and exceptions
/// Not synchronised: one thread at a time. Host exceptions pass to the
/// caller unless a member says otherwise (the constructor with two option
/// flags absorbs the host's refusal to create the command); invokeAsync
/// throws Zol::ZolSystemException_24 when the GUI executive service is not a
/// GUI executive.
///
/// \code
///   CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
///   Zol::ZolResult_24_8 result = invoker.invoke(DataBunch{{"values", values}});
///   DataBunch output = invoker.getOutputParams();
/// \endcode
///
/// Copies share the host command. The command processor comes from the host
/// service cache (ServiceCacheAppFrame), the GUI executive from
/// ServiceHelper's cache. Host results are not examined unless a member says
/// otherwise.
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "kyr/appfw/ICmdProcessor.h"
#include "zol/kernel/ZolResult.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT CmdInvoker {
 public:
  /// Holds no command: every invocation fails. No host call.
  CmdInvoker();
  /// Creates `commandName` of `context` with the processor's default
  /// options. Without a command processor, or when it knows no such command,
  /// the invoker holds none. Host exceptions pass to the caller.
  CmdInvoker(std::string const& commandName, std::string const& context);
  /// As above, then sets option flags 3 and 1 to `option3` and `option1`,
  /// and clears flag 13 when `option3` is true. A Zol::ZolUserException_24
  /// (or derived) raised while creating the command is absorbed and leaves
  /// the invoker without one; other exceptions pass to the caller.
  CmdInvoker(std::string const& commandName, bool option3, bool option1, std::string const& context);
  /// Sets option flags 3, 1 and 13 to `option3`, `option1` and `option13`;
  /// otherwise as the two-argument form (every exception passes).
  CmdInvoker(std::string const& commandName, bool option3, bool option1, bool option13, std::string const& context);

  /// Shares the other's command.
  CmdInvoker(CmdInvoker const& other);
  /// Releases the held command, then shares the other's.
  CmdInvoker& operator=(CmdInvoker const& other);
  /// Releases the held command; never throws.
  ~CmdInvoker();

  /// Executes the command with `params` on the calling thread and returns
  /// success, whatever the command itself answered. Without a command:
  /// failure (code 2147483647) with the text "Command not exist.". The
  /// command's exceptions pass to the caller.
  Zol::ZolResult_24_8 invoke(kyr::orla::appfw::CmdParameters const& params);
  /// invoke() with the bunch as a command-parameter list, in key order.
  Zol::ZolResult_24_8 invoke(DataBunch const& params);
  /// Sets option flags 0 and 4 on the command (they stay set for later
  /// invocations), then invoke(). Without a command it changes nothing and
  /// fails as invoke() does.
  Zol::ZolResult_24_8 invokeSync(DataBunch const& params);
  /// Hands the command and `params` to the GUI executive as the GUI action
  /// "KYR.WyrdanPlugin.WorkThreadCommandRequest" (payload keys "command" and
  /// "param") and returns success; the action's handler executes it. Fails
  /// without text, posting nothing, when there is no command or no GUI
  /// executive service. The action's answer is not examined: the command's
  /// results are read from the invoker afterwards. Throws
  /// Zol::ZolSystemException_24 when the service is not a GUI executive; the
  /// action's exceptions pass to the caller.
  Zol::ZolResult_24_8 invokeAsync(DataBunch const& params);

  /// The command's output parameters as they are now, as a new bunch (a
  /// repeated name keeps its last value); empty without a command.
  DataBunch getOutputParams();
  /// The command's return value; an empty any without a command.
  Zol::ZolAny_24_8 getReturnValue() const;
  /// The undo/redo command of the last execution; empty without a command.
  ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> getURCommand();

  /// The request record for `commandName` in the context "KYR.WyrdanPlugin".
  /// With a command processor it carries the processor's default options and
  /// shares `params`; without one, options and parameters stay empty.
  static kyr::orla::appfw::CmdInvocationRequest getInvocationRequest(std::string const& commandName,
                                                                     kyr::orla::appfw::CmdParameters const& params);

 private:
  ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> m_command;
};

}  // namespace kyr::orla::plugin::wyrdan
