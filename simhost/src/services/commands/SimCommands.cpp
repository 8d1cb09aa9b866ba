#include "simhost/services/commands/SimCommands.h"

#include "testbed/ParameterPayload.h"

namespace simhost {

using kyr::orla::appfw::CmdIdentity;
using kyr::orla::appfw::CmdOptions;
using kyr::orla::appfw::CmdParameter;
using kyr::orla::appfw::CmdParameters;
using kyr::orla::appfw::ICmdCommandInterface;
using kyr::orla::appfw::IURCommandInterface;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;

SimURCommand::SimURCommand(SimContextPtr context, std::string name, std::function<void()> undo,
                           std::function<void()> redo)
    : SimObject(std::move(context), std::move(name)), undo_(std::move(undo)), redo_(std::move(redo)) {}

bool SimURCommand::undone() const noexcept {
  std::lock_guard<std::mutex> lock(mutex_);
  return undone_;
}

Zol::ZolResult_24_8 SimURCommand::undo() {
  if (auto answered = call("undo")) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  if (undone_) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  undo_();
  undone_ = true;
  return {};
}

Zol::ZolResult_24_8 SimURCommand::redo() {
  if (auto answered = call("redo")) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!undone_) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  redo_();
  undone_ = false;
  return {};
}

std::int32_t SimRunningCommands::add(const ZolSmartPointer<ICmdCommandInterface>& command) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::int32_t id = nextId_++;
  running_.emplace(id, command);
  return id;
}

void SimRunningCommands::remove(std::int32_t id) {
  ZolSmartPointer<ICmdCommandInterface> released;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = running_.find(id);
  if (it == running_.end()) return;
  released = std::move(it->second);
  running_.erase(it);
}

void SimRunningCommands::clear() {
  std::map<std::int32_t, ZolSmartPointer<ICmdCommandInterface>> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(running_);
}

std::vector<std::int32_t> SimRunningCommands::ids() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::int32_t> ids;
  for (const auto& entry : running_) ids.push_back(entry.first);
  return ids;
}

ZolSmartPointer<ICmdCommandInterface> SimRunningCommands::find(std::int32_t id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = running_.find(id);
  return it == running_.end() ? ZolSmartPointer<ICmdCommandInterface>() : it->second;
}

SimCommand::SimCommand(SimContextPtr context, CmdIdentity identity, std::shared_ptr<SimRunningCommands> running)
    : SimObject(std::move(context), identity.context + "." + identity.commandName),
      identity_(std::move(identity)),
      running_(std::move(running)) {}

Zol::ZolResult_24_8 SimCommand::run(const CmdParameters& params) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    lastParameters_ = params;
    ++executions_;
    lastThread_ = std::this_thread::get_id();
  }
  // Running while it performs, also when performing throws.
  struct Running {
    SimRunningCommands& commands;
    std::int32_t id;
    ~Running() { commands.remove(id); }
  } running{*running_, running_->add(ZolSmartPointer<ICmdCommandInterface>(this))};
  return perform(params);
}

CmdOptions SimCommand::options() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return options_;
}

int SimCommand::executions() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return executions_;
}

CmdParameters SimCommand::lastParameters() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastParameters_;
}

std::thread::id SimCommand::lastThread() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastThread_;
}

Zol::ZolResult_24_8 SimCommand::refuse(const std::string& reason) const {
  context()->failures.record("command " + serviceName(), reason);
  return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
}

Zol::ZolResult_24_8 SimCommand::getOptions(CmdOptions& options) {
  if (auto answered = call("getOptions", out(options))) return *answered;
  options = this->options();
  return {};
}

Zol::ZolResult_24_8 SimCommand::setOptions(const CmdOptions& options) {
  if (auto answered = call("setOptions", options)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  options_ = options;
  return {};
}

Zol::ZolResult_24_8 SimCommand::execute(const CmdParameters& params) {
  if (auto answered = call("execute", params)) return *answered;
  return run(params);
}

Zol::ZolResult_24_8 SimCommand::getOutputParameters(CmdParameters& params) {
  if (auto answered = call("getOutputParameters", out(params))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  params = output_;
  return {};
}

Zol::ZolResult_24_8 SimCommand::getReturnValue(Zol::ZolAny_24_8& value) {
  if (auto answered = call("getReturnValue", out(value))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  value = returnValue_;
  return {};
}

Zol::ZolResult_24_8 SimCommand::getURCommand(ZolSmartPointer<IURCommandInterface>& command) {
  if (auto answered = call("getURCommand", out(command))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  command = undo_;
  return {};
}

Zol::ZolResult_24_8 SimCommand::getIdentity(CmdIdentity& identity) {
  if (auto answered = call("getIdentity", out(identity))) return *answered;
  identity = identity_;
  return {};
}

void SimCommand::setOutput(CmdParameters output, Zol::ZolAny_24_8 returnValue,
                           ZolSmartPointer<IURCommandInterface> undo) {
  std::lock_guard<std::mutex> lock(mutex_);
  output_ = std::move(output);
  returnValue_ = std::move(returnValue);
  undo_ = std::move(undo);
}

SimModifyObjectsCommand::SimModifyObjectsCommand(SimContextPtr context, CmdIdentity identity,
                                                 std::shared_ptr<SimRunningCommands> running,
                                                 ZolSmartPointer<SimModel> model)
    : SimCommand(std::move(context), std::move(identity), std::move(running)), model_(std::move(model)) {}

Zol::ZolResult_24_8 SimModifyObjectsCommand::perform(const CmdParameters& params) {
  internal::ParameterPayload request(params);
  const auto objects = request.take<ZolSmartPointer<IEntityReferenceConstListInterface>>("objects");
  const CmdParameters values = request.takeList("values");
  if (!request.ok()) return refuse(request.problems());

  struct Change {
    ZolSmartPointer<SimEntity> entity;
    std::string name;
    Zol::ZolAny_24_8 before;
    Zol::ZolAny_24_8 after;
  };
  auto changes = std::make_shared<std::vector<Change>>();
  std::int32_t modified = 0;
  for (const EntityReference& reference : referencesOf(objects)) {
    ZolSmartPointer<SimEntity> entity = model_ ? model_->findEntity(reference) : ZolSmartPointer<SimEntity>();
    if (!entity) continue;
    ++modified;
    for (const CmdParameter& value : values) {
      changes->push_back(Change{entity, value.name, entity->putAttribute(value.name, value.value), value.value});
    }
  }

  auto undo = makeSimObject<SimURCommand>(
      context(), "ModifyObjects",
      [changes] {
        for (auto it = changes->rbegin(); it != changes->rend(); ++it) it->entity->putAttribute(it->name, it->before);
      },
      [changes] {
        for (const Change& change : *changes) change.entity->putAttribute(change.name, change.after);
      });
  setOutput(CmdParameters{{"modified", modified}}, Zol::ZolAny_24_8(modified), std::move(undo));
  return {};
}

Zol::ZolResult_24_8 SimRecordingCommand::perform(const CmdParameters& params) {
  setOutput(params, Zol::ZolAny_24_8(static_cast<std::int32_t>(params.size())), {});
  return {};
}

void SimCmdProcessor::registerCommand(const std::string& context, const std::string& name, Factory factory) {
  std::lock_guard<std::mutex> lock(mutex_);
  factories_[Key{context, name}] = std::move(factory);
}

void SimCmdProcessor::registerRecordingCommand(const std::string& context, const std::string& name) {
  registerCommand(context, name,
                  [](const SimContextPtr& simContext, const CmdIdentity& identity,
                     const std::shared_ptr<SimRunningCommands>& running) -> ZolSmartPointer<SimCommand> {
                    return makeSimObject<SimRecordingCommand>(simContext, identity, running);
                  });
}

void SimCmdProcessor::setDefaultOptions(const std::string& context, const std::string& name,
                                        const CmdOptions& options) {
  std::lock_guard<std::mutex> lock(mutex_);
  defaults_[Key{context, name}] = options;
}

std::vector<ZolSmartPointer<SimCommand>> SimCmdProcessor::createdCommands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return created_;
}

std::vector<Zol::EOM::IEOMObjectSequence> SimCmdProcessor::generateLists() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return generateLists_;
}

void SimCmdProcessor::clear() {
  running_->clear();
  std::map<Key, Factory> factories;
  std::vector<ZolSmartPointer<SimCommand>> created;
  std::vector<Zol::EOM::IEOMObjectSequence> generateLists;
  std::lock_guard<std::mutex> lock(mutex_);
  factories.swap(factories_);
  created.swap(created_);
  generateLists.swap(generateLists_);
}

Zol::ZolResult_24_8 SimCmdProcessor::createCommand(const CmdIdentity& identity,
                                                   ZolSmartPointer<ICmdCommandInterface>& command) {
  if (auto answered = call("createCommand", identity.context, identity.commandName, out(command))) return *answered;
  Factory factory;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = factories_.find(Key{identity.context, identity.commandName});
    if (it == factories_.end()) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
    factory = it->second;
  }
  ZolSmartPointer<SimCommand> made = factory(context(), identity, running_);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    created_.push_back(made);
  }
  command = made;
  return {};
}

Zol::ZolResult_24_8 SimCmdProcessor::getDefaultOptions(const CmdIdentity& identity, CmdOptions& options) {
  if (auto answered = call("getDefaultOptions", identity.context, identity.commandName, out(options))) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = defaults_.find(Key{identity.context, identity.commandName});
  options = it == defaults_.end() ? CmdOptions() : it->second;
  return {};
}

Zol::ZolResult_24_8 SimCmdProcessor::getRunningCommandIds(ZolSequence<std::int32_t>& ids) {
  if (auto answered = call("getRunningCommandIds", out(ids))) return *answered;
  const std::vector<std::int32_t> running = running_->ids();
  ids = ZolSequence<std::int32_t>(running.begin(), running.end());
  return {};
}

Zol::ZolResult_24_8 SimCmdProcessor::getCommandById(std::int32_t id, ZolSmartPointer<ICmdCommandInterface>& command) {
  if (auto answered = call("getCommandById", id, out(command))) return *answered;
  command = running_->find(id);
  return {};
}

Zol::ZolResult_24_8 SimCmdProcessor::addToGenerateList(const Zol::EOM::IEOMObjectSequence& objects) {
  if (auto answered = call("addToGenerateList", objects)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  generateLists_.push_back(objects);
  return {};
}

}  // namespace simhost
