// The simulated model browser: its tabs' subscriptions, the decoding of every
// announcement into a tab's tree, the errors recorded for what does not
// decode, view switches, and announcements arriving from several threads.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/ModelBrowserRecords.h"
#include "support/SimHostTest.h"

namespace {

using kyr::orla::appfw::IEntityInterface;
using simhost::CallPattern;
using Zol::PersistenceFW::CAEData::EntityReference;
using EntityPtr = ZolSmartPointer<IEntityInterface>;
using testing_support::guidNumber;
using testing_support::SimHostTest;
using EventManager = Zol::Framework::ZolIEventManagerInterface;
using Zol::Framework::ZolEvent;

using kyr::orla::appfw::CmdParameters;
using testing_support::written;
namespace appfw = kyr::orla::appfw;

// The model browser's tests publish payloads written here field by field
// from the layouts of ModelBrowserRecords.h, as a plug-in would.
class SimModelBrowserTest : public SimHostTest {
 protected:
  static Zol::ZolAny_24_8 entityPayload(const EntityPtr& entity) {
    return written(Zol::interfaceTypeCode<IEntityInterface>(), entity);
  }
  static Zol::ZolAny_24_8 additionPayload(const Zol::ZolIService& list, const CmdParameters& values) {
    return written(appfw::getTC_NodesAddition(), list, values);
  }
  static Zol::ZolAny_24_8 updatePayload(const Zol::ZolIService& first, const CmdParameters& values,
                                        const Zol::ZolIService& second) {
    return written(appfw::getTC_NodesUpdate(), first, values, second);
  }
  static Zol::ZolAny_24_8 removalPayload(const EntityPtr& entity, std::int32_t end = 0) {
    return written(appfw::getTC_NodesRemoval(), 1u, entity, CmdParameters{}, end);
  }
  Zol::ZolIService listOf(std::vector<EntityReference> references) {
    return simhost::makeSimObject<simhost::SimEntityReferenceList>(host.context(), std::move(references))->asService();
  }
  void publish(std::int64_t domain, std::int32_t eventId, Zol::ZolAny_24_8 payload) {
    EXPECT_TRUE(host.eventManager().publishEvent({domain, eventId, std::move(payload)}, 0).isOk());
  }

  simhost::SimModelBrowser& browser = host.modelBrowser();
};

TEST_F(SimModelBrowserTest, TabsListenToTheBrowserDomainsFromTheHostsStart) {
  struct Case {
    const char* name;
    simhost::SimModelBrowserTab& tab;
    std::int64_t id;
  };
  const Case cases[] = {
      {"kyr.orla.appfw.Entity", browser.entityTab(), *host.eventManager().domainId("kyr.orla.appfw.Entity")},
      {"KYR.Plugins.ModelingPlugin.StudyManager", browser.studyTab(),
       *host.eventManager().domainId("KYR.Plugins.ModelingPlugin.StudyManager")},
      {"id 0", browser.domainZeroTab(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto subscribed = host.eventManager().subscriptions(c.id);
    ASSERT_EQ(subscribed.size(), 1u);
    EXPECT_TRUE(Zol::isSameObject(subscribed[0].listener, c.tab.asService()));
    EXPECT_TRUE(subscribed[0].allEvents);
  }
  EXPECT_EQ(host.journal().size(), 0u) << "the host's own set-up is not journaled";

  publish(0, 1, entityPayload(host.model().addEntity(5, 1, 0, "Plate 1", "Plate")));
  EXPECT_EQ(browser.entityTab().render(), "") << "each tab hears its own domain only";
}

TEST_F(SimModelBrowserTest, TabsDecodeEveryAnnouncementIntoTheirTree) {
  const std::int64_t entities = browser.entityTab().domainId();
  const auto root = host.model().findEntity(host.model().referenceOf(1, 1, 0));
  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
  for (std::uint32_t id = 1; id <= 4; ++id) {
    plates.push_back(
        host.model().addEntity(5, id, 0, icu::UnicodeString::fromUTF8("Plate " + std::to_string(id)), "Plate"));
  }
  plates[0]->setParent(root->reference());
  plates[1]->setParent(root->reference());
  plates[2]->setParent(plates[0]->reference());
  const auto id = [](const ZolSmartPointer<simhost::SimEntity>& entity) {
    return simhost::NodeId::of(entity->reference());
  };
  host.journal().clear();

  publish(entities, 1, entityPayload(root));
  publish(entities, 1, entityPayload(EntityPtr()));
  const EntityReference inserted = plates[0]->reference();
  publish(entities, 1,
          written(appfw::getTC_NodeInsertion(), inserted.container, inserted.first, inserted.second, inserted.third,
                  CmdParameters{{"index", 0}}));
  // The command context announced with created parts: 0 as a signed 32-bit integer.
  const CmdParameters created{{"commandName", Zol::makeZolAny("CreatePartCommand")},
                              {"commandContext", written(appfw::getTC_CmdContext(), std::int32_t{0})}};
  publish(entities, 9, additionPayload(listOf({plates[1]->reference(), plates[2]->reference()}), created));
  EXPECT_EQ(browser.entityTab().render(),
            "Model [Assembly] (1, 1, 0)\n"
            "  Plate 1 [Plate] (5, 1, 0)\n"
            "    Plate 3 [Plate] (5, 3, 0)\n"
            "  Plate 2 [Plate] (5, 2, 0)\n");

  plates[1]->rename("Plate two");
  publish(entities, 2,
          updatePayload(listOf({plates[0]->reference()}), {{"thickness", 2}}, listOf({plates[1]->reference()})));
  EXPECT_EQ(browser.entityTab().node(id(plates[0]))->lastUpdate, (CmdParameters{{"thickness", 2}}));
  EXPECT_TRUE(browser.entityTab().node(id(plates[1]))->lastUpdate.empty()) << "the second list gets no values";
  EXPECT_EQ(browser.entityTab().node(id(plates[1]))->name, "Plate two") << "but is refreshed from the model";
  EXPECT_EQ(browser.entityTab().node(id(plates[1]))->updates, 1u) << "and counts the update";
  publish(entities, 2, entityPayload(plates[0]));
  EXPECT_TRUE(browser.entityTab().node(id(plates[0]))->lastUpdate.empty());
  publish(entities, 2, updatePayload(listOf({plates[3]->reference()}), {}, {}));
  EXPECT_FALSE(browser.entityTab().node(id(plates[3]))) << "an update shows nothing new";

  publish(entities, 3, entityPayload(plates[2]));
  publish(entities, 10, removalPayload(plates[1]));
  EXPECT_EQ(browser.entityTab().render(), "Model [Assembly] (1, 1, 0)\n  Plate 1 [Plate] (5, 1, 0), updated 2 times\n");

  const auto announcements = browser.entityTab().announcements();
  ASSERT_EQ(announcements.size(), 9u);
  EXPECT_EQ(announcements[1].text(), "node added (no entity)");
  EXPECT_EQ(announcements[3].text(),
            "nodes added [(5, 2, 0), (5, 3, 0)] [commandName = Zol.ZolString \"CreatePartCommand\", "
            "commandContext = kyr.orla.appfw.CmdContext 0]");
  EXPECT_TRUE(browser.entityTab().errors().empty()) << browser.entityTab().errors().front();
  EXPECT_EQ(host.journal().size(), host.journal().count(CallPattern::of<EventManager>("publishEvent")))
      << "the browser reads the host's model without host calls";
}

TEST_F(SimModelBrowserTest, UnknownEventsAndMalformedPayloadsAreRecordedAsErrors) {
  const std::int64_t entities = browser.entityTab().domainId();
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  publish(entities, 1, entityPayload(plate));
  const auto notAnEntity = simhost::makeSimObject<simhost::SimService>(host.context(), "not an entity");

  const Zol::ZolAny_24_8 truncated = written(appfw::getTC_NodeInsertion(), host.model().asService(), 5u);
  const Zol::ZolAny_24_8 trailing =
      written(appfw::getTC_NodesAddition(), listOf({plate->reference()}), CmdParameters{}, 1u);
  const Zol::ZolAny_24_8 wrongElement = written(appfw::getTC_NodesAddition(), listOf({plate->reference()}), 1u,
                                                Zol::getTC_Zol_Int32_24_8(), "name", Zol::ZolAny_24_8(1));
  const Zol::ZolAny_24_8 notAList = updatePayload(notAnEntity->asService(), {}, {});

  struct Case {
    const char* name;
    std::int32_t eventId;
    Zol::ZolAny_24_8 payload;
    std::string error;  // a part of the recorded text
  };
  const Case cases[] = {
      {"an entity where an addition record belongs", 9, entityPayload(plate),
       "a payload of type kyr.orla.appfw.IEntity is not an addition record"},
      {"a removal record for event 1", 1, removalPayload(plate), "is not an entity or an insertion record"},
      {"a truncated insertion record", 1, truncated, "past the end"},
      {"bytes after the record", 9, trailing, "bytes left after the last value"},
      {"a named value of another type", 9, wrongElement, "of type Zol.Int32 instead of kyr.orla.appfw.CmdParameter"},
      {"an addition record without a list", 9, additionPayload({}, {}), "the record has no reference list"},
      {"an update record with an object for a list", 2, notAList, "not a reference list"},
      {"a removal record not ending with 0", 10, removalPayload(plate, 1), "ends with 1, not 0"},
  };
  const std::string tree = browser.entityTab().render();
  publish(entities, 7, entityPayload(plate));
  EXPECT_TRUE(browser.entityTab().errors().empty()) << "the domain's other events are not the browser's";
  EXPECT_EQ(browser.entityTab().announcements().size(), 1u);
  std::size_t errors = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    publish(entities, c.eventId, c.payload);
    const auto recorded = browser.entityTab().errors();
    ASSERT_EQ(recorded.size(), ++errors);
    EXPECT_NE(recorded.back().find(c.error), std::string::npos) << recorded.back();
    EXPECT_EQ(browser.entityTab().render(), tree) << "a payload that does not decode changes nothing";
    ASSERT_EQ(host.failures().all().size(), errors);
    EXPECT_EQ(host.failures().all().back().text(), "model browser tab kyr.orla.appfw.Entity: " + recorded.back());
    EXPECT_EQ(recorded.back().rfind("event " + std::to_string(c.eventId) + ": ", 0), 0u);
  }
  host.failures().expect("model browser tab kyr.orla.appfw.Entity");
}

// The library's browser test switches to every known view; here, what the
// command refuses.
TEST_F(SimModelBrowserTest, SwitchMDPViewRecordsUnknownViewsAndRefusesMalformedRequests) {
  const auto text = [](const char* value) { return Zol::makeZolAny(value); };
  for (const CmdParameters& params : {CmdParameters{{"fromViewId", text("")}, {"toViewId", text("Nowhere")}},
                                      CmdParameters{{"fromViewId", text("")}}, CmdParameters{{"toViewId", 3}}}) {
    ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> command;
    ASSERT_TRUE(host.commandProcessor().createCommand({"KYR.ShellPlugin", "SwitchMDPView", {}}, command).isOk());
    EXPECT_FALSE(command->execute(params).isOk());
    EXPECT_EQ(browser.visibleView(), "ShellPlugin.ModelView");
  }
  ASSERT_EQ(browser.viewSwitches().size(), 1u) << "a request naming a view is recorded, known or not";
  EXPECT_FALSE(browser.viewSwitches()[0].done);
  host.failures().expect("command KYR.ShellPlugin.SwitchMDPView");
  EXPECT_EQ(host.failures().all().size(), 2u) << "no target, and a target that is not a string";
}

TEST_F(SimModelBrowserTest, ConcurrentAnnouncementsAndDependencyEdgesKeepEveryRecord) {
  const std::int64_t entities = browser.entityTab().domainId();
  constexpr std::uint32_t kPlates = 20;
  constexpr std::size_t kThreads = 3;
  constexpr std::uint32_t kEdges = 50;
  std::vector<ZolEvent> events;
  for (std::uint32_t id = 1; id <= kPlates; ++id) {
    events.push_back({entities, 1, entityPayload(host.model().addEntity(5, id, 0, "Plate", "Plate"))});
  }
  const auto part = host.addEOMObject("part", "Part", guidNumber(1000));
  const auto edges = Zol::interfaceCast<Zol::EOM::IEOMDependenciesInterface>(part->asService());

  std::atomic<bool> delivering{true};
  std::thread linker([&] {
    for (std::uint32_t index = 1; index <= kEdges; ++index) edges->addDownstreamGUIDs({guidNumber(index)});
  });
  std::thread reader([&] {
    while (delivering) {
      browser.entityTab().render();
      host.dependencyGraph().edges();
    }
  });
  host.eventManager().deliverOnThreads(kThreads, events);
  linker.join();
  delivering = false;
  reader.join();

  EXPECT_EQ(browser.entityTab().announcements().size(), kThreads * kPlates);
  EXPECT_EQ(browser.entityTab().nodes().size(), kPlates) << "one node per entity, however often announced";
  EXPECT_TRUE(browser.entityTab().errors().empty());
  EXPECT_EQ(host.dependencyGraph().downstreamOf(guidNumber(1000)).size(), kEdges);
}

}  // namespace
