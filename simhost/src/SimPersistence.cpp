#include "simhost/SimPersistence.h"

namespace simhost {

void SimPersistenceSession::setModel(ZolSmartPointer<SimModel> model) { model_.set(std::move(model)); }

Zol::ZolResult_24_8 SimPersistenceSession::getModel(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface>& model) {
  if (Zol::ZolResult_24_8 fault = call("getModel"); !fault.isOk()) return fault;
  model = model_.get();
  return {};
}

void SimPersistenceFW::setSession(ZolSmartPointer<SimPersistenceSession> session) { session_.set(std::move(session)); }

Zol::ZolResult_24_8 SimPersistenceFW::getCurrentSession(
    ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface>& session) {
  if (Zol::ZolResult_24_8 fault = call("getCurrentSession"); !fault.isOk()) return fault;
  session = session_.get();
  return {};
}

}  // namespace simhost
