/// \file
/// The simulated persistence framework: one current session with one model
/// (SimEntities.h) and one project, any of which a test can take away; the
/// framework records the default names registered with it.
///
/// \code
///   host.persistence().session()->project()->setProductRecord({u"Kyr", u"7", u"1", u"Tessaly Shaper"});
///   EXPECT_EQ(host.persistence().defaultNames().size(), 4u);
/// \endcode
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the setters and
/// readers are the host's own access, not journaled. Every class is
/// thread-safe.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "simhost/services/model/SimEntities.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"
#include "zol/persistence/PersistenceFW.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The project of a session, with the record of the product that made it.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimProject final : public SimObject<Zol::PersistenceFW::CAEData::IProjectInterface> {
 public:
  /// A project named `name` in the journal, made by the product of `record`.
  SimProject(SimContextPtr context, std::string name, Zol::PersistenceFW::CAEData::ProductRecord record);

  /// Replaces the product record.
  void setProductRecord(Zol::PersistenceFW::CAEData::ProductRecord record) { record_.set(std::move(record)); }
  /// The product record.
  Zol::PersistenceFW::CAEData::ProductRecord productRecord() const { return record_.get(); }

  /// productRecord().
  Zol::ZolResult_24_8 getProductRecord(Zol::PersistenceFW::CAEData::ProductRecord& record) override;

 private:
  Synchronized<Zol::PersistenceFW::CAEData::ProductRecord> record_;
};

/// The current persistence session: its model and its project.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPersistenceSession final
    : public SimObject<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> {
 public:
  using SimObject::SimObject;

  /// Replaces the session's model; empty closes it.
  void setModel(ZolSmartPointer<SimModel> model);
  /// The session's model; empty when it is closed.
  ZolSmartPointer<SimModel> model() const { return model_.get(); }
  /// Replaces the session's project; empty means none.
  void setProject(ZolSmartPointer<SimProject> project) { project_.set(std::move(project)); }
  /// The session's project; empty when there is none.
  ZolSmartPointer<SimProject> project() const { return project_.get(); }

  /// model(), empty included.
  Zol::ZolResult_24_8 getModel(ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface>& model) override;
  /// project(), empty included.
  Zol::ZolResult_24_8 getProject(ZolSmartPointer<Zol::PersistenceFW::CAEData::IProjectInterface>& project) override;

 private:
  Synchronized<ZolSmartPointer<SimModel>> model_;
  Synchronized<ZolSmartPointer<SimProject>> project_;
};

/// The persistence framework ("Zol.PersistenceFW.CAEData.PFW" and
/// ServiceCacheAppFrame::PFW_).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPersistenceFW final : public SimObject<Zol::PersistenceFW::CAEData::IPFWInterface> {
 public:
  /// One registerDefaultName call.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct DefaultName {
    /// The entity type named.
    std::uint32_t typeId;
    /// The default name.
    icu::UnicodeString name;
    /// The number new objects count from.
    std::int32_t firstNumber;
    /// Whether they are numbered per owner.
    bool perOwner;
  };

  using SimObject::SimObject;

  /// Replaces the current session; empty means no session.
  void setSession(ZolSmartPointer<SimPersistenceSession> session);
  /// The current session; empty when there is none.
  ZolSmartPointer<SimPersistenceSession> session() const { return session_.get(); }
  /// Every default name registered, in call order.
  std::vector<DefaultName> defaultNames() const;

  /// session(), empty included.
  Zol::ZolResult_24_8 getCurrentSession(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface>& session) override;
  /// Records the registration (defaultNames); a name registered again for a
  /// type is recorded again.
  Zol::ZolResult_24_8 registerDefaultName(std::uint32_t typeId, const icu::UnicodeString& name,
                                          std::int32_t firstNumber, bool perOwner) override;

 private:
  Synchronized<ZolSmartPointer<SimPersistenceSession>> session_;
  mutable std::mutex mutex_;
  std::vector<DefaultName> defaultNames_;
};

/// @}

}  // namespace simhost
