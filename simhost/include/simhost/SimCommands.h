// The simulated command processor and its commands. Commands are made by
// factories registered per (context, command name); "ModifyObjects" of
// "KYR.CorePlugin" really applies its "values" to every entity of its
// "objects" and records an undo/redo command. The processor records the
// objects queued for generation.
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
#include "simhost/SimEntities.h"
#include "simhost/SimObject.h"

namespace simhost {

/// An undoable change made of two actions.
class SIMHOST_EXPORT SimURCommand final : public SimObject<kyr::orla::appfw::IURCommandInterface> {
 public:
  SimURCommand(SimContextPtr context, std::string name, std::function<void()> undo, std::function<void()> redo);
  bool undone() const noexcept;

  /// Undo when not undone, redo when undone; otherwise a failure result.
  Zol::ZolResult_24_8 undo() override;
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
class SIMHOST_EXPORT SimRunningCommands {
 public:
  /// Adds `command` under a new id, higher than every id before; returns it.
  std::int32_t add(const ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>& command);
  void remove(std::int32_t id);
  /// Drops every running command, for the host's shut-down.
  void clear();
  std::vector<std::int32_t> ids() const;
  ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> find(std::int32_t id) const;

 private:
  mutable std::mutex mutex_;
  std::int32_t nextId_ = 1;
  std::map<std::int32_t, ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>> running_;
};

/// Base of the simulated commands: options, identity, and the state an
/// execution leaves (output parameters, return value, undo/redo command).
/// While it executes a command counts as running.
class SIMHOST_EXPORT SimCommand : public SimObject<kyr::orla::appfw::ICmdCommandInterface> {
 public:
  SimCommand(SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
             std::shared_ptr<SimRunningCommands> running);

  /// Executes without journaling: the host's own way to run a command.
  Zol::ZolResult_24_8 run(const kyr::orla::appfw::CmdParameters& params);

  kyr::orla::appfw::CmdOptions options() const;
  int executions() const;
  kyr::orla::appfw::CmdParameters lastParameters() const;
  /// The thread of the last execution.
  std::thread::id lastThread() const;

  Zol::ZolResult_24_8 getOptions(kyr::orla::appfw::CmdOptions& options) override;
  Zol::ZolResult_24_8 setOptions(const kyr::orla::appfw::CmdOptions& options) override;
  Zol::ZolResult_24_8 execute(const kyr::orla::appfw::CmdParameters& params) override;
  Zol::ZolResult_24_8 getOutputParameters(kyr::orla::appfw::CmdParameters& params) override;
  Zol::ZolResult_24_8 getReturnValue(Zol::ZolAny_24_8& value) override;
  Zol::ZolResult_24_8 getURCommand(ZolSmartPointer<kyr::orla::appfw::IURCommandInterface>& command) override;
  Zol::ZolResult_24_8 getIdentity(kyr::orla::appfw::CmdIdentity& identity) override;

 protected:
  /// What the command does; reports through the setters below.
  virtual Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) = 0;
  void setOutput(kyr::orla::appfw::CmdParameters output, Zol::ZolAny_24_8 returnValue,
                 ZolSmartPointer<kyr::orla::appfw::IURCommandInterface> undo);

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
/// list) on every entity of "objects" (an entity-reference list, containers
/// included). Output "modified" and the return value: the number of entities
/// changed.
class SIMHOST_EXPORT SimModifyObjectsCommand final : public SimCommand {
 public:
  SimModifyObjectsCommand(SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
                          std::shared_ptr<SimRunningCommands> running, ZolSmartPointer<SimModel> model);

 protected:
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) override;

 private:
  const ZolSmartPointer<SimModel> model_;
};

/// A command that only records how it was run.
class SIMHOST_EXPORT SimRecordingCommand final : public SimCommand {
 public:
  using SimCommand::SimCommand;

 protected:
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) override;
};

class SIMHOST_EXPORT SimCmdProcessor final : public SimObject<kyr::orla::appfw::ICmdProcessorInterface> {
 public:
  using Factory = std::function<ZolSmartPointer<SimCommand>(const SimContextPtr& context,
                                                            const kyr::orla::appfw::CmdIdentity& identity,
                                                            const std::shared_ptr<SimRunningCommands>& running)>;

  using SimObject::SimObject;

  /// Makes createCommand answer (context, name) with what `factory` makes.
  void registerCommand(const std::string& context, const std::string& name, Factory factory);
  /// Registers a SimRecordingCommand for (context, name).
  void registerRecordingCommand(const std::string& context, const std::string& name);
  void setDefaultOptions(const std::string& context, const std::string& name,
                         const kyr::orla::appfw::CmdOptions& options);
  /// Every command made so far, oldest first (kept alive until clear()).
  std::vector<ZolSmartPointer<SimCommand>> createdCommands() const;
  /// The objects of each addToGenerateList call, in call order (kept alive
  /// until clear()).
  std::vector<Zol::EOM::IEOMObjectSequence> generateLists() const;
  const std::shared_ptr<SimRunningCommands>& running() const noexcept { return running_; }
  /// Drops factories, made commands, generate lists and running commands,
  /// for the host's shut-down.
  void clear();

  Zol::ZolResult_24_8 createCommand(const kyr::orla::appfw::CmdIdentity& identity,
                                    ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface>& command) override;
  Zol::ZolResult_24_8 getDefaultOptions(const kyr::orla::appfw::CmdIdentity& identity,
                                        kyr::orla::appfw::CmdOptions& options) override;
  Zol::ZolResult_24_8 getRunningCommandIds(ZolSequence<std::int32_t>& ids) override;
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

}  // namespace simhost
