// The command processor and its commands: a command is created for a context
// and a command name, carries 18 option flags, runs with a command-parameter
// list and reports its output, return value and undo/redo command.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "kyr/appfw/CmdParameters.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// Names a command: the owning plug-in's context and the command name.
struct CmdIdentity {
  std::string context;
  std::string commandName;
  Zol::ZolIService service;
};

/// The host's 18 one-byte command option flags, positions 0 to 17. What each
/// position means is the host's.
struct CmdOptions {
  static constexpr std::size_t kCount = 18;
  std::array<bool, kCount> flags{};

  friend bool operator==(const CmdOptions& a, const CmdOptions& b) { return a.flags == b.flags; }
  friend bool operator!=(const CmdOptions& a, const CmdOptions& b) { return !(a == b); }
};

/// A request to invoke a command by name.
struct CmdInvocationRequest {
  std::string context;
  std::string commandName;
  Zol::ZolIService service;
  CmdParameters parameters;
  CmdOptions options;
};

/// An undoable change ("kyr.orla.appfw.IURCommand").
class IURCommandInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IURCommand"};
  virtual Zol::ZolResult_24_8 undo() = 0;
  virtual Zol::ZolResult_24_8 redo() = 0;
};

/// One host command ("kyr.orla.appfw.ICmdCommand").
class ICmdCommandInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ICmdCommand"};
  virtual Zol::ZolResult_24_8 getOptions(CmdOptions& options) = 0;
  virtual Zol::ZolResult_24_8 setOptions(const CmdOptions& options) = 0;
  /// Runs the command with `params`; the command's own result.
  virtual Zol::ZolResult_24_8 execute(const CmdParameters& params) = 0;
  virtual Zol::ZolResult_24_8 getOutputParameters(CmdParameters& params) = 0;
  virtual Zol::ZolResult_24_8 getReturnValue(Zol::ZolAny_24_8& value) = 0;
  /// The undo/redo command of the last execution; empty before one.
  virtual Zol::ZolResult_24_8 getURCommand(ZolSmartPointer<IURCommandInterface>& command) = 0;
  virtual Zol::ZolResult_24_8 getIdentity(CmdIdentity& identity) = 0;
};

/// ("kyr.orla.appfw.ICmdProcessor")
class ICmdProcessorInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ICmdProcessor"};
  /// A new command for `identity`; empty when the processor knows no such command.
  virtual Zol::ZolResult_24_8 createCommand(const CmdIdentity& identity,
                                            ZolSmartPointer<ICmdCommandInterface>& command) = 0;
  /// The options a new command of `identity` starts with.
  virtual Zol::ZolResult_24_8 getDefaultOptions(const CmdIdentity& identity, CmdOptions& options) = 0;
  /// The ids of the commands running now, oldest first.
  virtual Zol::ZolResult_24_8 getRunningCommandIds(ZolSequence<std::int32_t>& ids) = 0;
  /// The running command of `id`; empty when none runs under it.
  virtual Zol::ZolResult_24_8 getCommandById(std::int32_t id, ZolSmartPointer<ICmdCommandInterface>& command) = 0;
  /// Queues `objects` for the host to generate, in the order given.
  virtual Zol::ZolResult_24_8 addToGenerateList(const Zol::EOM::IEOMObjectSequence& objects) = 0;
};

}  // namespace kyr::orla::appfw
