// The simulated persistence framework: one current session with one model
// (SimEntities.h) and one project, any of which a test can take away; the
// framework records the default names registered with it.
//
//   host.persistence().session()->project()->setProductRecord({u"Kyr", u"7", u"1", u"Tessaly Shaper"});
//   EXPECT_EQ(host.persistence().defaultNames().size(), 4u);
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "simhost/SimEntities.h"
#include "simhost/SimObject.h"
#include "simhost/Synchronized.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

/// The project of a session, with the record of the product that made it.
class SIMHOST_EXPORT SimProject final : public SimObject<Zol::PersistenceFW::CAEData::IProjectInterface> {
 public:
  SimProject(SimContextPtr context, std::string name, Zol::PersistenceFW::CAEData::ProductRecord record);

  void setProductRecord(Zol::PersistenceFW::CAEData::ProductRecord record) { record_.set(std::move(record)); }
  Zol::PersistenceFW::CAEData::ProductRecord productRecord() const { return record_.get(); }

  Zol::ZolResult_24_8 getProductRecord(Zol::PersistenceFW::CAEData::ProductRecord& record) override;

 private:
  Synchronized<Zol::PersistenceFW::CAEData::ProductRecord> record_;
};

class SIMHOST_EXPORT SimPersistenceSession final
    : public SimObject<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> {
 public:
  using SimObject::SimObject;

  /// Replaces the session's model; empty closes it.
  void setModel(ZolSmartPointer<SimModel> model);
  ZolSmartPointer<SimModel> model() const { return model_.get(); }
  /// Replaces the session's project; empty means none.
  void setProject(ZolSmartPointer<SimProject> project) { project_.set(std::move(project)); }
  ZolSmartPointer<SimProject> project() const { return project_.get(); }

  Zol::ZolResult_24_8 getModel(ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface>& model) override;
  Zol::ZolResult_24_8 getProject(ZolSmartPointer<Zol::PersistenceFW::CAEData::IProjectInterface>& project) override;

 private:
  Synchronized<ZolSmartPointer<SimModel>> model_;
  Synchronized<ZolSmartPointer<SimProject>> project_;
};

class SIMHOST_EXPORT SimPersistenceFW final : public SimObject<Zol::PersistenceFW::CAEData::IPFWInterface> {
 public:
  /// One registerDefaultName call.
  struct DefaultName {
    std::uint32_t typeId;
    icu::UnicodeString name;
    std::int32_t firstNumber;
    bool perOwner;
  };

  using SimObject::SimObject;

  /// Replaces the current session; empty means no session.
  void setSession(ZolSmartPointer<SimPersistenceSession> session);
  ZolSmartPointer<SimPersistenceSession> session() const { return session_.get(); }
  /// Every default name registered, in call order.
  std::vector<DefaultName> defaultNames() const;

  Zol::ZolResult_24_8 getCurrentSession(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface>& session) override;
  Zol::ZolResult_24_8 registerDefaultName(std::uint32_t typeId, const icu::UnicodeString& name,
                                          std::int32_t firstNumber, bool perOwner) override;

 private:
  Synchronized<ZolSmartPointer<SimPersistenceSession>> session_;
  mutable std::mutex mutex_;
  std::vector<DefaultName> defaultNames_;
};

}  // namespace simhost
