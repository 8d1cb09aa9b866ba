// The host services the model browser's announcements use, of the
// benchmarks' own: an event manager that counts what is published, and a root
// manager whose entity lists answer their entities' references, fetched from
// the entities when asked for, as a host's lists do.
//
//   auto events = bench::makeHostObject<bench::CountingEventManager>();
//   kyr::orla::appfw::ServiceCacheAppFrame::eventManager_ = events;
#pragma once

#include <cstdint>
#include <string>

#include "hostobjects/BenchEntities.h"
#include "hostobjects/HostObject.h"
#include "kyr/appfw/IEntity.h"
#include "zol/framework/ZolIEventManager.h"

namespace bench {

/// An event manager that knows the browser's two domains, counts the events
/// published and keeps the last one while asked to. Its other operations fail.
class BENCH_HOST_EXPORT CountingEventManager final : public HostObject<Zol::Framework::ZolIEventManagerInterface> {
 public:
  /// The ids lookUpDomainId answers for the model tab's and the study tab's domains.
  static constexpr std::int64_t kModelDomain = 0x6d6f64;
  static constexpr std::int64_t kStudyDomain = 0x737464;

  Zol::ZolResult_24_8 lookUpDomainId(const std::string& name, std::int64_t& id) override;
  Zol::ZolResult_24_8 createDomainId(const std::string& name, std::int64_t& id) override;
  Zol::ZolResult_24_8 createChannelId(std::int64_t& id) override;
  Zol::ZolResult_24_8 addListener(std::int64_t id,
                                  const ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>& listener,
                                  std::int32_t mode, const Zol::Framework::EventFilter& filter) override;
  Zol::ZolResult_24_8 addListenerForAllEvents(
      std::int64_t id, const ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>& listener,
      std::int32_t mode) override;
  Zol::ZolResult_24_8 fireEvent(const Zol::Framework::ZolEvent& event, std::int32_t value,
                                const ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>& sender) override;
  Zol::ZolResult_24_8 publishEvent(const Zol::Framework::ZolEvent& event, std::int32_t value) override;
  Zol::ZolResult_24_8 removeListener(
      std::int64_t id, const ZolSmartPointer<Zol::Framework::ZolIEventListenerInterface>& listener) override;

  std::uint64_t published() const noexcept { return published_; }
  /// Keeps a copy of each event published from now on, until stopped.
  void keepEvents(bool keep) noexcept { keep_ = keep; }
  const Zol::Framework::ZolEvent& lastKept() const noexcept { return last_; }

 private:
  std::uint64_t published_ = 0;
  bool keep_ = false;
  Zol::Framework::ZolEvent last_;
};

/// A root manager whose entity lists answer their references; it resolves
/// no reference.
class BENCH_HOST_EXPORT ListingRootManager final : public HostObject<kyr::orla::appfw::IRootManagerInterface> {
 public:
  Zol::ZolResult_24_8 getEntity(const Zol::PersistenceFW::CAEData::EntityReference& reference,
                                EntityPtr& entity) override;
  Zol::ZolResult_24_8 makeEntityList(const kyr::orla::appfw::IEntities& entities,
                                     ZolSmartPointer<kyr::orla::appfw::IEntityListInterface>& list) override;
};

}  // namespace bench
