// Work handed to the host's work thread while plug-in threads go on, and the
// library's caches filled from several threads at once (run under
// ThreadSanitizer in CI). The simulated host must stand being used from the
// work thread and the caller at once.
#include <array>
#include <atomic>
#include <deque>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"
#include "WyrdanPluginUtilities/entities/BrowserHelper.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/entities/EntityCompare.h"
#include "WyrdanPluginUtilities/entities/EntityEquanPred.h"
#include "WyrdanPluginUtilities/entities/EntityIDSet.h"
#include "WyrdanPluginUtilities/entities/EntityTypeID.h"
#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "support/DataBunchChecks.h"
#include "support/EventTest.h"

namespace {

using kyr::orla::plugin::wyrdan::BrowserHelper;
using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EntConvert;
using kyr::orla::plugin::wyrdan::EntityCompare;
using kyr::orla::plugin::wyrdan::EntityEquanPred;
using kyr::orla::plugin::wyrdan::EntityIDSet;
using kyr::orla::plugin::wyrdan::EntityTypeID;
using kyr::orla::plugin::wyrdan::EventHandler;
using kyr::orla::plugin::wyrdan::IZolEventHandler;
using kyr::orla::plugin::wyrdan::LogHelper;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using testing_support::intOf;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;

// "ModifyObjects" parameters setting `values` on `plates`.
DataBunch modifyParams(const std::vector<ZolSmartPointer<simhost::SimEntity>>& plates, const DataBunch& values) {
  EntityReferenceSequence references;
  for (const auto& plate : plates) references.push_back(plate->reference());
  DataBunch params;
  params.setData("objects", ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>(
                                EntConvert().toEntRefList(references)));
  params.setData("values", values.toZolAny());
  return params;
}

class WorkThreadTest : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    for (std::uint32_t id = 1; id <= 4; ++id) plates.push_back(host.model().addEntity(5, id, 0, "plate", "Plate"));
  }

  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
};

TEST_F(WorkThreadTest, InvokersOnSeveralThreadsPostAndTheWorkThreadRunsEachPostInOrder) {
  constexpr int kPostsPerThread = 25;
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < plates.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 1; i <= kPostsPerThread; ++i) {
        CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
        invoker.invokeAsync(modifyParams({plates[t]}, DataBunch{{"revision", i}}));
      }
    });
  }
  CmdInvoker all("ModifyObjects", "KYR.CorePlugin");
  ASSERT_TRUE(all.invokeAsync(modifyParams(plates, DataBunch{{"thickness", 3}})).isOk());
  for (auto& thread : threads) thread.join();
  host.workThread().waitIdle();

  EXPECT_EQ(host.commandProcessor().createdCommands().size(), plates.size() * kPostsPerThread + 1);
  for (const auto& command : host.commandProcessor().createdCommands()) {
    EXPECT_EQ(command->lastThread(), host.workThread().id());
  }
  EXPECT_EQ(intOf(all.getReturnValue()), 4) << "the invoker reads what its command did on the work thread";
  for (const auto& plate : plates) EXPECT_EQ(intOf(plate->attribute("thickness")), 3);
  for (const auto& plate : plates) {
    EXPECT_EQ(intOf(plate->attribute("revision")), kPostsPerThread) << "each thread's posts run in order";
  }
  EXPECT_TRUE(host.workThread().failures().empty());
}

// The work thread resolves entities, reads the session and the entities'
// relations while the caller rewires them.
TEST_F(WorkThreadTest, HostObjectsStandTheWorkThreadAndTheCallerAtOnce) {
  const EntityReferenceSequence references{plates[0]->reference(), plates[1]->reference()};
  const ZolSmartPointer<simhost::SimModel> model(&host.model());
  constexpr std::size_t kRounds = 500;
  for (std::size_t round = 0; round < kRounds; ++round) {
    host.workThread().post([&] {
      EntConvert().toEntities(references);
      ServiceHelper::getCurrentModel();
      plates[0]->parent();
      plates[0]->children();
    });
    plates[0]->addChild(plates[1]->reference());
    host.persistence().session()->setModel(round % 2 == 0 ? model : ZolSmartPointer<simhost::SimModel>());
    plates[0]->setParent(plates[round % 2 + 2]->reference());
    host.trashBinService().setTrashBin(simhost::makeSimObject<simhost::SimTrashBin>(host.context(), "bin"));
  }
  host.workThread().waitIdle();
  EXPECT_EQ(plates[0]->children().size(), kRounds);
  EXPECT_TRUE(host.workThread().failures().empty());
}

// A plug-in's event handlers run on the host's threads and meet the
// library's caches there first. Threads released together make each first
// use at once (pairs of them on the same cache slot, the pairs on different
// slots), and each must be answered as if it had come alone. The fixture's
// leak check, once the host is gone, finds a reference that a losing filler
// took and neither kept nor released.
using FirstUseTest = testing_support::PluginTest;

TEST_F(FirstUseTest, ConcurrentFirstUsesOfTheCachesAgree) {
  using Getter = Zol::ZolIService (*)();
  const std::pair<const char*, Getter> getters[] = {
      {"kyr.orla.appfw.GuiExecutive", &ServiceHelper::getGuiExeutive},
      {"kyr.orla.appfw.AppExecutive", &ServiceHelper::getAppExecutive},
      {"kyr.orla.appfw.AppExecutive", &ServiceHelper::getFrameworkAccess},
      {"kyr.orla.appfw.SelectionManager", &ServiceHelper::getSelectionManager},
      {"Zol.EOM.EOMCore", &ServiceHelper::getEOMDependencyMgr},
      {"Zol.EOM.EOMCore", &ServiceHelper::getEOMUtility},
      {"Zol.Util.Units", &ServiceHelper::getUtilUnitsService},
  };
  constexpr std::size_t kGetters = std::size(getters);
  constexpr std::size_t kTypes = 6;
  constexpr std::size_t kThreads = 8;
  constexpr std::size_t kIdsPerThread = 400;
  std::vector<std::pair<std::uint32_t, icu::UnicodeString>> types;
  for (std::uint32_t id = 9101; id < 9101 + kTypes; ++id) {
    types.emplace_back(id, icu::UnicodeString::fromUTF8("Concurrent.Type" + std::to_string(id)));
    host.typeRegistry().addType(types.back().first, types.back().second);
  }
  using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;
  const EntityPtr plate = host.model().addEntity(5, 1, 0, u"Plate", u"Plate");
  const EntityPtr rib = host.model().addEntity(5, 2, 0, u"Rib", u"Plate");
  const EntityPtr study = host.model().addEntity(8, 1, 0, u"Study", u"Simulation.Wyrdan.TessalynStudy");

  struct Seen {
    std::vector<Zol::ZolIService> services = std::vector<Zol::ZolIService>(kGetters);
    std::vector<icu::UnicodeString> names = std::vector<icu::UnicodeString>(kTypes);
    std::vector<std::uint32_t> typeIds = std::vector<std::uint32_t>(kTypes);
    bool compared = false;
    bool studyTab = false;
    std::vector<unsigned int> ids;
  };
  std::vector<Seen> seen(kThreads);
  EntityIDSet::instance()->reset();
  // Holds each thread until every thread reached the same step, so that the
  // first uses of each step overlap. Each step counts on its own: a thread
  // that is done with a step and waits at the next one orders nothing of
  // what it did before another thread's use of that step.
  std::array<std::atomic<std::size_t>, 5> arrived{};
  const auto together = [&arrived](std::size_t step) {
    arrived.at(step).fetch_add(1);
    while (arrived.at(step).load() < kThreads) std::this_thread::yield();
  };
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Seen& mine = seen[t];
      const std::size_t start = t / 2;
      together(0);
      for (std::size_t i = 0; i < kGetters; ++i) {
        const std::size_t g = (start + i) % kGetters;
        mine.services[g] = getters[g].second();
      }
      together(1);
      for (std::size_t i = 0; i < kTypes; ++i) {
        const std::size_t k = (start + i) % kTypes;
        mine.names[k] = EntityTypeID(types[k].first).typeName();
        mine.typeIds[k] = EntityTypeID(types[k].second).typeID();
      }
      together(2);
      const bool matched = t % 2 == 0 ? EntityEquanPred(plate)(plate) : EntityCompare().equals(plate, plate);
      mine.compared = matched && EntityCompare().lessThan(plate, rib);
      together(3);
      BrowserHelper browser(t % 2 == 0 ? BrowserHelper::MB_MODEL : BrowserHelper::MB_AR_ITEMIZATION);
      mine.studyTab = browser.getMBTab(study) == BrowserHelper::MB_STUDY;
      browser.updateNode(plate);
      browser.updateNode(study);
      together(4);
      for (std::size_t i = 0; i < kIdsPerThread; ++i) mine.ids.push_back(EntityIDSet::instance()->nextID());
    });
  }
  for (auto& thread : threads) thread.join();

  const auto registered = host.provider().services();
  std::set<unsigned int> ids;
  for (std::size_t t = 0; t < kThreads; ++t) {
    SCOPED_TRACE("thread " + std::to_string(t));
    for (std::size_t g = 0; g < kGetters; ++g) {
      EXPECT_TRUE(seen[t].services[g]) << getters[g].first;
      EXPECT_EQ(seen[t].services[g], registered.at(getters[g].first)) << getters[g].first;
    }
    for (std::size_t k = 0; k < kTypes; ++k) {
      EXPECT_EQ(seen[t].names[k], types[k].second);
      EXPECT_EQ(seen[t].typeIds[k], types[k].first);
    }
    EXPECT_TRUE(seen[t].compared) << "the comparators reach the adapter manager";
    EXPECT_TRUE(seen[t].studyTab);
    ids.insert(seen[t].ids.begin(), seen[t].ids.end());
  }
  EXPECT_EQ(ids.size(), kThreads * kIdsPerThread) << "every id handed out once";
  EXPECT_EQ(*ids.begin(), 1u);
  EXPECT_EQ(*ids.rbegin(), kThreads * kIdsPerThread);

  EXPECT_EQ(host.modelBrowser().entityTab().announcements().size(), kThreads / 2);
  EXPECT_EQ(host.modelBrowser().domainZeroTab().announcements().size(), kThreads / 2);
  EXPECT_EQ(host.modelBrowser().studyTab().announcements().size(), kThreads);
}

// Where a plug-in's handlers live: host threads at once deliver events on
// shared domains, add and remove handlers there, and run handlers that
// deliver nested events, write log lines of changing widths and reach the
// library's caches. No handler is called for an event whose delivery began
// after its removal returned; the handlers that stay see every event of
// their domain; every log line arrives whole; every id is handed out once.
class PluginThreadsTest : public testing_support::EventTest {
 protected:
  // Orders deliveries and removals: a delivery takes its ticket just before
  // it enters the registry, a removal just after it returns.
  static std::atomic<long> clock;
  static thread_local long deliveryTicket;

  struct Counting : IZolEventHandler {
    void handleDomainEvent(long long, Zol::Framework::ZolEvent const&) override {
      calls.fetch_add(1, std::memory_order_relaxed);
      const long removed = removedAt.load(std::memory_order_acquire);
      if (removed != 0 && deliveryTicket > removed) lateCalls.fetch_add(1, std::memory_order_relaxed);
      if (then) then();
    }
    std::atomic<long> calls{0};
    std::atomic<long> removedAt{0};
    std::atomic<long> lateCalls{0};
    std::function<void()> then;
  };
};

std::atomic<long> PluginThreadsTest::clock{1};
thread_local long PluginThreadsTest::deliveryTicket = 0;

TEST_F(PluginThreadsTest, ConcurrentHandlersDeliverLogAndFillCachesWhileOthersComeAndGo) {
  EventHandler& registry = *EventHandler::instance();
  const long long domains[] = {host.eventManager().defineDomain("Test.Busy"),
                               host.eventManager().defineDomain("Test.Busier")};
  constexpr std::uint32_t kFirstType = 9201;
  for (std::uint32_t id = kFirstType; id < kFirstType + 4; ++id) {
    host.typeRegistry().addType(id, icu::UnicodeString::fromUTF8("Busy.Type" + std::to_string(id)));
  }
  const ZolSmartPointer<kyr::orla::appfw::IEntityInterface> plate = host.model().addEntity(5, 1, 0, u"Plate", u"Plate");

  constexpr int kThreads = 4;
  constexpr int kRounds = 400;
  thread_local int thread = 0;
  thread_local int round = 0;
  std::array<std::vector<unsigned int>, kThreads> ids;
  std::atomic<long> nested{0};
  std::atomic<long> cachesMissed{0};
  Counting stable[2];
  stable[0].then = [&] {
    const int width = 1 + (round * 37 + thread * 101) % 3000;
    LogHelper::instance()->logMessage(1, "%d:%0*d", width, width, thread + 1);
    const bool found = ServiceHelper::getGuiExeutive() &&
                       !EntityTypeID(kFirstType + static_cast<std::uint32_t>(round % 4)).typeName().isEmpty() &&
                       EntityEquanPred(plate)(plate) &&
                       BrowserHelper(BrowserHelper::MB_MODEL).getMBTab(plate) == BrowserHelper::MB_MODEL;
    if (!found) cachesMissed.fetch_add(1);
    ids[static_cast<std::size_t>(thread)].push_back(EntityIDSet::instance()->nextID());
  };
  stable[1].then = [&] {
    if (round % 8 != 0) return;
    nested.fetch_add(1);
    registry.handleEvent(Zol::Framework::ZolEvent{domains[0], 2, {}});
  };
  for (int d = 0; d < 2; ++d) registry.addDomainEventHandler(domains[d], &stable[d]);

  std::deque<Counting> churned(kThreads * kRounds);  // alive until every delivery ended
  std::atomic<long> delivered[2] = {{0}, {0}};
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      thread = t;
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      for (round = 0; round < kRounds; ++round) {
        Counting& handler = churned[static_cast<std::size_t>(t * kRounds + round)];
        registry.addDomainEventHandler(domains[(round + 1) % 2], &handler);
        const int d = (round + t) % 2;
        deliveryTicket = clock.fetch_add(1);
        EXPECT_EQ(registry.handleEvent(Zol::Framework::ZolEvent{domains[d], 1, {}}), Zol::Framework::EventHandled);
        delivered[d].fetch_add(1);
        registry.removeDomainEventHandler(domains[(round + 1) % 2], &handler);
        handler.removedAt.store(clock.fetch_add(1), std::memory_order_release);
      }
    });
  }
  for (auto& each : threads) each.join();

  EXPECT_EQ(stable[0].calls.load(), delivered[0].load() + nested.load()) << "a handler was lost";
  EXPECT_EQ(stable[1].calls.load(), delivered[1].load()) << "a handler was lost";
  long late = 0;
  for (const Counting& handler : churned) late += handler.lateCalls.load();
  EXPECT_EQ(late, 0) << "handlers were called for events delivered after their removal";
  EXPECT_EQ(cachesMissed.load(), 0) << "a cache answered wrongly while another thread filled it";

  const auto lines = host.kernelLogger().lines();
  EXPECT_EQ(lines.size(), static_cast<std::size_t>(stable[0].calls.load()));
  for (const auto& line : lines) {
    const std::string text = line.text.substr(line.text.find(" >> ") + 4);
    const std::size_t colon = text.find(':');
    ASSERT_NE(colon, std::string::npos) << line.text;
    const std::string digits = text.substr(colon + 1);
    ASSERT_EQ(digits.size(), std::stoul(text.substr(0, colon))) << "a line was cut or mixed with another";
    EXPECT_EQ(digits.find_first_not_of('0'), digits.size() - 1) << "a line was mixed with another";
  }
  std::set<unsigned int> unique;
  for (const auto& each : ids) unique.insert(each.begin(), each.end());
  EXPECT_EQ(static_cast<long>(unique.size()), stable[0].calls.load()) << "an id was handed out twice";
}

}  // namespace
