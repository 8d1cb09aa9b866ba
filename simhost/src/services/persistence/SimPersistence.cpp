#include "simhost/services/persistence/SimPersistence.h"

namespace simhost {

SimProject::SimProject(SimContextPtr context, std::string name, Zol::PersistenceFW::CAEData::ProductRecord record)
    : SimObject(std::move(context), std::move(name)), record_(std::move(record)) {}

Zol::ZolResult_24_8 SimProject::getProductRecord(Zol::PersistenceFW::CAEData::ProductRecord& record) {
  if (auto answered = call("getProductRecord", out(record))) return *answered;
  record = record_.get();
  return {};
}

void SimPersistenceSession::setModel(ZolSmartPointer<SimModel> model) { model_.set(std::move(model)); }

Zol::ZolResult_24_8 SimPersistenceSession::getModel(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface>& model) {
  if (auto answered = call("getModel", out(model))) return *answered;
  model = model_.get();
  return {};
}

Zol::ZolResult_24_8 SimPersistenceSession::getProject(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IProjectInterface>& project) {
  if (auto answered = call("getProject", out(project))) return *answered;
  project = project_.get();
  return {};
}

void SimPersistenceFW::setSession(ZolSmartPointer<SimPersistenceSession> session) { session_.set(std::move(session)); }

std::vector<SimPersistenceFW::DefaultName> SimPersistenceFW::defaultNames() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return defaultNames_;
}

Zol::ZolResult_24_8 SimPersistenceFW::getCurrentSession(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface>& session) {
  if (auto answered = call("getCurrentSession", out(session))) return *answered;
  session = session_.get();
  return {};
}

Zol::ZolResult_24_8 SimPersistenceFW::registerDefaultName(std::uint32_t typeId, const icu::UnicodeString& name,
                                                          std::int32_t firstNumber, bool perOwner) {
  if (auto answered = call("registerDefaultName", typeId, name, firstNumber, perOwner)) return *answered;
  std::lock_guard<std::mutex> lock(mutex_);
  defaultNames_.push_back(DefaultName{typeId, name, firstNumber, perOwner});
  return {};
}

}  // namespace simhost
