// The simulated persistence framework: one current session with one model
// (SimEntities.h), either of which a test can take away.
#pragma once

#include "simhost/SimEntities.h"
#include "simhost/SimObject.h"
#include "simhost/Synchronized.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

class SIMHOST_EXPORT SimPersistenceSession final
    : public SimObject<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> {
 public:
  using SimObject::SimObject;

  /// Replaces the session's model; empty closes it.
  void setModel(ZolSmartPointer<SimModel> model);
  ZolSmartPointer<SimModel> model() const { return model_.get(); }

  Zol::ZolResult_24_8 getModel(ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface>& model) override;

 private:
  Synchronized<ZolSmartPointer<SimModel>> model_;
};

class SIMHOST_EXPORT SimPersistenceFW final : public SimObject<Zol::PersistenceFW::CAEData::IPFWInterface> {
 public:
  using SimObject::SimObject;

  /// Replaces the current session; empty means no session.
  void setSession(ZolSmartPointer<SimPersistenceSession> session);
  ZolSmartPointer<SimPersistenceSession> session() const { return session_.get(); }

  Zol::ZolResult_24_8 getCurrentSession(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface>& session) override;

 private:
  Synchronized<ZolSmartPointer<SimPersistenceSession>> session_;
};

}  // namespace simhost
