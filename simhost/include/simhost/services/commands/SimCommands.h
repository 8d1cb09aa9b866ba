/// \file
/// The simulated command processor and its commands. Commands are made by
/// factories registered per (context, command name); "ModifyObjects" of
/// "KYR.CorePlugin" really applies its "values" to every entity of its
/// "objects" and records an undo/redo command. The processor records the
/// objects queued for generation.
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the other members
/// are the host's own access, not journaled. Every class is thread-safe.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "kyr/appfw/ICmdProcessor.h"
#include "simhost/services/model/SimEntities.h"
#include "simhost/testbed/SimObject.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// An undoable change made of two actions.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc. undo() and redo() also pass on their action's
/// exception.
class SIMHOST_EXPORT SimURCommand final : public SimObject<kyr::orla::appfw::IURCommandInterface> {
 public:
  /// A change named `name` in the journal, not undone; `undo` and `redo`
  /// run under the command's lock.
  SimURCommand(SimContextPtr context, std::string name, std::function<void()> undo, std::function<void()> redo);
  /// True after an undo, until the next redo.
  bool undone() const noexcept;

  /// Runs the undo action when not undone; a failure result (kFailure)
  /// otherwise.
  Zol::ZolResult_24_8 undo() override;
  /// Runs the redo action when undone; a failure result (kFailure) otherwise.
  Zol::ZolResult_24_8 redo() override;

 private:
  mutable std::mutex mutex_;
  const std::function<void()> undo_;
  const std::function<void()> redo_;
  bool undone_ = false;
};

/// The commands running now, shared by a processor and the commands it made.
/// A command counts as running while it executes; a test may also add one
/// itself, as the host does for a command that waits for the user.
///
/// \par Threads and exceptions
/// Thread-safe. Not a host object: nothing here is journaled, and its members
/// throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimRunningCommands {
 public:
  /// Adds `command` under a new id, higher than every id before; returns it.
  std::int32_t add(const ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>& command);
  /// Drops the command of `id`; an unknown id is ignored.
  void remove(std::int32_t id);
  /// Drops every running command, for the host's shut-down.
  void clear();
  /// The ids of the running commands, ascending.
  std::vector<std::int32_t> ids() const;
  /// The running command of `id`; empty for an unknown id.
  ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> find(std::int32_t id) const;

 private:
  mutable std::mutex mutex_;
  std::int32_t nextId_ = 1;
  std::map<std::int32_t, ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>> running_;
};

/// Base of the simulated commands: options, identity, and the state an
/// execution leaves (output parameters, return value, undo/redo command).
/// While it executes a command counts as running.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc. execute() and run() also pass on perform()'s
/// exception.
class SIMHOST_EXPORT SimCommand : public SimObject<kyr::orla::appfw::ICmdCommandInterface> {
 public:
  /// The command `identity` names, named "context.commandName" in the
  /// journal, with every option flag cleared and no execution yet.
  SimCommand(SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
             std::shared_ptr<SimRunningCommands> running);

  /// Executes without journaling: the host's own way to run a command.
  /// Records the parameters and the thread, counts as running while it
  /// performs (also when performing throws), and returns what perform
  /// returns; perform's exceptions pass.
  Zol::ZolResult_24_8 run(const kyr::orla::appfw::CmdParameters& params);

  /// The options set last (setOptions).
  kyr::orla::appfw::CmdOptions options() const;
  /// How often the command ran.
  int executions() const;
  /// The parameters of the last execution; empty before one.
  kyr::orla::appfw::CmdParameters lastParameters() const;
  /// The thread of the last execution.
  std::thread::id lastThread() const;

  /// options().
  Zol::ZolResult_24_8 getOptions(kyr::orla::appfw::CmdOptions& options) override;
  /// Replaces the options.
  Zol::ZolResult_24_8 setOptions(const kyr::orla::appfw::CmdOptions& options) override;
  /// run(`params`) on the calling thread.
  Zol::ZolResult_24_8 execute(const kyr::orla::appfw::CmdParameters& params) override;
  /// The output parameters of the last execution; empty before one.
  Zol::ZolResult_24_8 getOutputParameters(kyr::orla::appfw::CmdParameters& params) override;
  /// The return value of the last execution; an empty any before one.
  Zol::ZolResult_24_8 getReturnValue(Zol::ZolAny_24_8& value) override;
  /// The undo/redo command of the last execution; empty before one or when
  /// the command made none.
  Zol::ZolResult_24_8 getURCommand(ZolSmartPointer<kyr::orla::appfw::IURCommandInterface>& command) override;
  /// The identity given at construction.
  Zol::ZolResult_24_8 getIdentity(kyr::orla::appfw::CmdIdentity& identity) override;

 protected:
  /// What the command does; reports through the setters below.
  virtual Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) = 0;
  /// Replaces the output parameters, the return value and the undo/redo
  /// command the getters answer.
  void setOutput(kyr::orla::appfw::CmdParameters output, Zol::ZolAny_24_8 returnValue,
                 ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> undo);
  /// Records a host failure "command <context>.<name>: <reason>" and
  /// returns kFailure: for parameters the command cannot take.
  Zol::ZolResult_24_8 refuse(const std::string& reason) const;

 private:
  const kyr::orla::appfw::CmdIdentity identity_;
  const std::shared_ptr<SimRunningCommands> running_;
  mutable std::mutex mutex_;
  kyr::orla::appfw::CmdOptions options_;
  kyr::orla::appfw::CmdParameters output_;
  Zol::ZolAny_24_8 returnValue_;
  ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> undo_;
  kyr::orla::appfw::CmdParameters lastParameters_;
  int executions_ = 0;
  std::thread::id lastThread_;
};

/// "ModifyObjects": sets every property of "values" (a command-parameter
/// list) on every entity of "objects" (an any typed
/// "Zol.PersistenceFW.CAEData.IEntityReferenceConstList" carrying an
/// entity-reference list, containers included). Output "modified" and the
/// return value: the number of entities changed.
///
/// \par Threads and exceptions
/// As SimCommand's: thread-safe, and its host operations throw what a fault
/// armed for them throws. Parameters it cannot take are refused (a host
/// failure), not thrown.
class SIMHOST_EXPORT SimModifyObjectsCommand final : public SimCommand {
 public:
  /// The command of `identity`, changing the entities of `model`.
  SimModifyObjectsCommand(SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
                          std::shared_ptr<SimRunningCommands> running, ZolSmartPointer<SimModel> model);

 protected:
  /// Sets the values on the entities of the model that "objects" names
  /// (references of other containers, and unknown ones, are skipped) and
  /// makes an undo/redo command that restores or reapplies every change. A
  /// missing parameter, or one of another type or malformed, is refused
  /// (see refuse()) and changes nothing.
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) override;

 private:
  const ZolSmartPointer<SimModel> model_;
};

/// A command that only records how it was run.
///
/// \par Threads and exceptions
/// As SimCommand's: thread-safe, and its host operations throw what a fault
/// armed for them throws.
class SIMHOST_EXPORT SimRecordingCommand final : public SimCommand {
 public:
  using SimCommand::SimCommand;

 protected:
  /// Echoes `params` as the output parameters, returns their number as the
  /// return value, and makes no undo/redo command.
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) override;
};

/// The host's command processor (ServiceCacheAppFrame::commandProcessor_).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc. createCommand also passes on its factory's
/// exception.
class SIMHOST_EXPORT SimCmdProcessor final : public SimObject<kyr::orla::appfw::ICmdProcessorInterface> {
 public:
  /// Makes the command of an identity, sharing the processor's running list.
  using Factory = std::function<ZolSmartPointer<SimCommand>(const SimContextPtr& context,
                                                            const kyr::orla::appfw::CmdIdentity& identity,
                                                            const std::shared_ptr<SimRunningCommands>& running)>;

  using SimObject::SimObject;

  /// Makes createCommand answer (context, name) with what `factory` makes,
  /// replacing an earlier factory.
  void registerCommand(const std::string& context, const std::string& name, Factory factory);
  /// Registers a SimRecordingCommand for (context, name).
  void registerRecordingCommand(const std::string& context, const std::string& name);
  /// Sets what getDefaultOptions answers for (context, name).
  void setDefaultOptions(const std::string& context, const std::string& name,
                         const kyr::orla::appfw::CmdOptions& options);
  /// Every command made so far, oldest first (kept alive until clear()).
  std::vector<ZolSmartPointer<SimCommand>> createdCommands() const;
  /// The objects of each addToGenerateList call, in call order (kept alive
  /// until clear()).
  std::vector<Zol::EOM::IEOMObjectSequence> generateLists() const;
  /// The commands running now, shared with the commands the processor made.
  const std::shared_ptr<SimRunningCommands>& running() const noexcept { return running_; }
  /// Drops factories, made commands, generate lists and running commands,
  /// for the host's shut-down.
  void clear();

  /// A new command from the factory of the identity's (context, command
  /// name), kept (createdCommands); fails (kFailure), leaving `command` as it
  /// was, when none is registered. Journaled with the context and the name.
  Zol::ZolResult_24_8 createCommand(const kyr::orla::appfw::CmdIdentity& identity,
                                    ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>& command) override;
  /// The options set for the identity's (context, command name); every flag
  /// cleared when none are set.
  Zol::ZolResult_24_8 getDefaultOptions(const kyr::orla::appfw::CmdIdentity& identity,
                                        kyr::orla::appfw::CmdOptions& options) override;
  /// The ids of the running commands, ascending.
  Zol::ZolResult_24_8 getRunningCommandIds(ZolSequence<std::int32_t>& ids) override;
  /// The running command of `id`; empty for an id not running.
  Zol::ZolResult_24_8 getCommandById(std::int32_t id,
                                     ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>& command) override;
  /// Records `objects`, in the order received; generates nothing.
  Zol::ZolResult_24_8 addToGenerateList(const Zol::EOM::IEOMObjectSequence& objects) override;

 private:
  using Key = std::pair<std::string, std::string>;
  mutable std::mutex mutex_;
  std::map<Key, Factory> factories_;
  std::map<Key, kyr::orla::appfw::CmdOptions> defaults_;
  std::vector<ZolSmartPointer<SimCommand>> created_;
  std::vector<Zol::EOM::IEOMObjectSequence> generateLists_;
  std::shared_ptr<SimRunningCommands> running_ = std::make_shared<SimRunningCommands>();
};

/// @}

}  // namespace simhost
