// The model tools on the simulated host: the flush of the open model with its
// persistence events, the application modes, the parts of an assembly, and
// the engineering object of a persistent object.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/ModelHelper.h"
#include "WyrdanPluginUtilities/commands/PluginHelperTool.h"
#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "kyr/appfw/ModelPersistenceRecords.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolHoldings.h"
#include "zol/kernel/ZolStringUtility.h"

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::IFrameworkAccessInterface;
using kyr::orla::appfw::ZolITrashBinInterface;
using kyr::orla::plugin::wyrdan::ModelHelper;
using kyr::orla::plugin::wyrdan::PluginHelperTool;
using simhost::CallPattern;
using simhost::Fault;
using Lines = std::vector<std::string>;
using ModelManagement = kyr::orla::plugin::baseplugin::ZolIModelManagementInterface;

constexpr char kModelManagementService[] = "kyr.orla.plugin.baseplugin.ModelManagement";

std::string utf8(const icu::UnicodeString& text) {
  return Zol::baseStringUtilityInstance_24_8().stringFromUString(text, true);
}

// The library keeps the first model management service it finds for the
// whole process. The test program therefore makes one, on a context of its
// own, registers it in every host and names it to the kernel as held, so each
// test reaches the same object whichever test of the process ran first.
struct ProgramModelManagement {
  const simhost::SimContextPtr context = std::make_shared<simhost::SimContext>();
  const ZolSmartPointer<simhost::SimModelManagement> service =
      simhost::makeSimObject<simhost::SimModelManagement>(context, kModelManagementService);
};

ProgramModelManagement& programModelManagement() {
  static ProgramModelManagement management;
  static const Zol::ZolHoldingsRegistration holding(
      "test program", [](Zol::ZolHeldReferences& held) { held.add("model management", management.service); });
  return management;
}

class ModelToolsTest : public testing_support::PluginTest {
 protected:
  ModelToolsTest() {
    host.registerService(kModelManagementService, management().service->asService());
    management().service->setFlushResult(Zol::ZolResult_24_8::kSuccess);
    management().context->faults.clear();
    flushesBefore_ = management().service->flushes();
    host.appExecutive().setCurrentModelName(u"Bracket");
  }

  static ProgramModelManagement& management() { return programModelManagement(); }
  std::size_t modelFlushes() const { return management().service->flushes() - flushesBefore_; }
  std::size_t targetFlushes() { return host.appExecutive().flushTarget()->flushes(); }
  std::size_t binFlushes() { return host.trashBinService().trashBin()->flushes(); }

  // Each publication as "<sender>: <domain> event <id> (<model>, <flag>)",
  // its payload decoded.
  Lines publications() {
    const std::int64_t persistence = *host.eventManager().domainId("kyr.orla.appfw.ModelPersistence");
    Lines lines;
    for (const auto& publication : host.appExecutive().publications()) {
      const Zol::Framework::ZolEvent& event = publication.event;
      std::string line = publication.sender + ": " +
                         (event.domainId == persistence ? "persistence" : "domain " + std::to_string(event.domainId)) +
                         " event " + std::to_string(event.eventId) + (publication.fire ? " (fired)" : "");
      const Zol::ZolAny_24_8& payload = event.data;
      if (payload.getTypeCode().getTypeId() != kyr::orla::appfw::kModelPersistenceEventTypeId) {
        lines.push_back(line + " with another payload");
        continue;
      }
      Zol::ZolInStream_24_8 in = payload.openStream();
      Zol::ZolTypeCode_24_8 ownType;
      icu::UnicodeString model;
      bool flag = false;
      Zol::marshaller_extract(in, ownType);
      Zol::marshaller_extract(in, model);
      Zol::marshaller_extract(in, flag);
      in.expectEnd();
      EXPECT_EQ(ownType, payload.getTypeCode()) << "the stream starts with the payload's own type code";
      lines.push_back(line + " (" + utf8(model) + ", " + (flag ? "true" : "false") + ")");
    }
    return lines;
  }

  // Where the first call `pattern` matches stands in the journal; the
  // journal's size when there is none.
  std::size_t position(const CallPattern& pattern) {
    const std::vector<simhost::HostCall> calls = host.journal().calls();
    std::size_t at = 0;
    while (at < calls.size() && !pattern.matches(calls[at])) ++at;
    return at;
  }

 private:
  std::size_t flushesBefore_ = 0;
};

TEST_F(ModelToolsTest, TheFlushOfANamedModelIsAnnouncedBeforeAndAfterItSucceeds) {
  std::size_t announcedAtFlush = 0;
  management().context->faults.inject(CallPattern::of<ModelManagement>("flushModel"), Fault::callback([&] {
                                        announcedAtFlush = host.appExecutive().publications().size();
                                      }));
  ModelHelper::flush(true, true);
  EXPECT_EQ(modelFlushes(), 1u);
  EXPECT_EQ(announcedAtFlush, 1u) << "event 21 goes out before the model is flushed, event 3 after";
  EXPECT_EQ(publications(), (Lines{"KYR.ModelingPlugin: persistence event 21 (Bracket, false)",
                                   "KYR.ModelingPlugin: persistence event 3 (Bracket, true)"}));
  EXPECT_EQ(targetFlushes(), 1u);
  EXPECT_EQ(binFlushes(), 1u);
  EXPECT_LT(position(CallPattern::of<ZolITrashBinInterface>("flush")),
            position(CallPattern::of<IFrameworkAccessInterface>("publishEvent")))
      << "pending edits and the trash bin are flushed before anything is announced";

  management().service->setFlushResult(Zol::ZolResult_24_8::kFailure);
  ModelHelper::flush(true, true);
  EXPECT_EQ(modelFlushes(), 2u);
  EXPECT_EQ(publications().size(), 3u) << "a failed flush is announced only as coming";
  EXPECT_EQ(publications().back(), "KYR.ModelingPlugin: persistence event 21 (Bracket, false)");
}

// What the save flag and the open-model flag each ask for, with a named
// model and with none.
TEST_F(ModelToolsTest, EachFlagAsksForItsShareOfTheWork) {
  struct Case {
    bool save;
    bool openModelOnly;
    const char16_t* model;
    std::size_t modelFlushes;
    std::size_t otherFlushes;  // of the flush target and of the trash bin, each
    std::size_t announcements;
    bool asksForTheName;
  };
  const Case cases[] = {
      {true, true, u"Bracket", 1, 1, 2, true}, {true, false, u"Bracket", 1, 1, 0, false},
      {true, false, u"none", 1, 1, 0, false},  {false, true, u"Bracket", 0, 1, 0, true},
      {false, false, u"none", 0, 1, 0, false}, {true, true, u"none", 0, 0, 0, true},
      {false, true, u"none", 0, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("flush(") + (c.save ? "true" : "false") + ", " + (c.openModelOnly ? "true" : "false") +
                 ") of " + utf8(c.model));
    host.appExecutive().setCurrentModelName(c.model);
    host.journal().clear();
    const std::size_t modelBefore = modelFlushes();
    const std::size_t targetBefore = targetFlushes();
    const std::size_t binBefore = binFlushes();
    const std::size_t announcedBefore = publications().size();

    ModelHelper::flush(c.save, c.openModelOnly);
    EXPECT_EQ(modelFlushes() - modelBefore, c.modelFlushes);
    EXPECT_EQ(targetFlushes() - targetBefore, c.otherFlushes);
    EXPECT_EQ(binFlushes() - binBefore, c.otherFlushes);
    EXPECT_EQ(publications().size() - announcedBefore, c.announcements);
    EXPECT_EQ(host.journal().count(CallPattern::of<IFrameworkAccessInterface>("getCurrentModelName")),
              c.asksForTheName ? 1u : 0u);
  }
}

// flushModel flushes the open model with its events; the flush stops quietly
// where a host object is missing.
TEST_F(ModelToolsTest, FlushModelFlushesTheOpenModelAndGoesOnWithoutTheOtherObjects) {
  PluginHelperTool::flushModel(true);
  PluginHelperTool::flushModel(false);
  EXPECT_EQ(modelFlushes(), 1u);
  EXPECT_EQ(targetFlushes(), 2u);
  EXPECT_EQ(publications().size(), 2u);

  host.appExecutive().setFlushTarget({});
  host.trashBinService().setTrashBin({});
  ModelHelper::flush(true, true);
  EXPECT_EQ(modelFlushes(), 2u) << "without a flush target and a trash bin the model is still flushed";
  EXPECT_EQ(publications().size(), 4u);
}

TEST_F(ModelToolsTest, APublishedPersistenceEventReturnsTheHostsResult) {
  EXPECT_TRUE(ModelHelper::publishPersistenceEvent(30, u"Gear box", true).isOk());
  EXPECT_EQ(publications(), Lines{"KYR.ModelingPlugin: persistence event 30 (Gear box, true)"});

  host.faults().inject(CallPattern::of<IFrameworkAccessInterface>("publishEvent"), Fault::errorResult(7));
  EXPECT_EQ(ModelHelper::publishPersistenceEvent(21, u"Gear box", false).getCode(), 7);
}

TEST_F(ModelToolsTest, ModesAreMatchedExactlyAndAssumedWithoutAFrameworkAccess) {
  struct Case {
    std::vector<std::string> modes;
    bool dressUp;
    bool readOnly;
  };
  const Case cases[] = {
      {{"DRESSUP_MODE", "PROBE_MODE"}, true, false},
      {{"READ_ONLY_MODEL"}, false, true},
      {{"PROBE_MODE", "READ_ONLY_MODEL", "DRESSUP_MODE"}, true, true},
      {{"dressup_mode", "READ_ONLY_MODEL ", "READ_ONLY"}, false, false},
      {{}, false, false},
  };
  for (const Case& c : cases) {
    std::string active;
    for (const std::string& mode : c.modes) active += "\"" + mode + "\" ";
    SCOPED_TRACE(active);
    host.appExecutive().setActiveModes(c.modes);
    EXPECT_EQ(PluginHelperTool::isDressUpMode(), c.dressUp);
    EXPECT_EQ(PluginHelperTool::isReadonlyMode(), c.readOnly);
  }

  kyr::orla::appfw::ServiceCacheAppFrame::frameworkAccess_.reset();
  host.appExecutive().setActiveModes({});
  EXPECT_TRUE(PluginHelperTool::isDressUpMode());
  EXPECT_TRUE(PluginHelperTool::isReadonlyMode());
}

// A frame with a plate, a hinge (a pin, a latch with a spring, a leaf), a
// material that is no representation, and a bolt.
class AssemblyTest : public ModelToolsTest {
 protected:
  simhost::SimAssemblyBuilder build{host.context(), host.model(), 30};
  const ZolSmartPointer<simhost::SimAssemblyRep> frame = build.assembly(u"Frame");
  const ZolSmartPointer<simhost::SimPartRep> plate = build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
  const ZolSmartPointer<simhost::SimAssemblyRep> hinge = build.assembly(u"Hinge", frame);
  const ZolSmartPointer<simhost::SimPartRep> pin = build.partRep(hinge, u"Pin", u"Part::ConcentratedPartRep");
  const ZolSmartPointer<simhost::SimAssemblyRep> latch = build.assembly(u"Latch", hinge);
  const ZolSmartPointer<simhost::SimPartRep> spring =
      build.partRep(latch, u"Spring", u"CompPart::ComputationalPartRep");
  const ZolSmartPointer<simhost::SimPartRep> leaf = build.partRep(hinge, u"Leaf", u"CompPart::ComputationalPartRep");
  const ZolSmartPointer<simhost::SimEOMObject> material = addMaterial();
  const ZolSmartPointer<simhost::SimPartRep> bolt = build.partRep(frame, u"Bolt", u"CompPart::FEPartRep");

  ZolSmartPointer<simhost::SimEOMObject> addMaterial() {
    auto steel = host.addEOMObject(u"Steel", u"Material::Isotropic", {});
    frame->addChildObject(steel);
    return steel;
  }

  // The names of the entities, in order.
  static Lines names(const IEntities& entities) {
    Lines lines;
    for (const auto& entity : entities) {
      const auto* simulated = dynamic_cast<const simhost::SimEntity*>(entity.get());
      lines.push_back(simulated ? utf8(simulated->name()) : "?");
    }
    return lines;
  }
};

TEST_F(AssemblyTest, PartsOfANestedAssemblyComeDepthFirst) {
  const IEntities parts = PluginHelperTool::getAllParts(frame);
  EXPECT_EQ(names(parts), (Lines{"Plate", "Pin", "Spring", "Leaf", "Bolt"}));
  ASSERT_EQ(parts.size(), 5u);
  EXPECT_TRUE(Zol::isSameObject(parts[0], plate->partEntity())) << "the part itself, not its representation";
  EXPECT_TRUE(Zol::isSameObject(host.model().findEntity(plate->partEntity()->reference()), plate->partEntity()))
      << "the parts are entities of the model";

  EXPECT_EQ(names(PluginHelperTool::getAllParts(hinge)), (Lines{"Pin", "Spring", "Leaf"}));
  EXPECT_EQ(names(PluginHelperTool::getAllParts(spring)), Lines{"Spring"});
  EXPECT_TRUE(PluginHelperTool::getAllParts(spring->partEntity()).empty()) << "a part is no representation";
  EXPECT_TRUE(PluginHelperTool::getAllParts({}).empty());

  frame->addChildObject({});
  leaf->setPart({});
  EXPECT_EQ(names(PluginHelperTool::getAllParts(frame)), (Lines{"Plate", "Pin", "Spring", "Bolt"}))
      << "an empty child and a representation without a part add nothing";

  hinge->setQueryStatus(Zol::EOM::IEOMAssemblyRepInterface::descriptor.typeId, Zol::kQueryNoInterface);
  EXPECT_EQ(names(PluginHelperTool::getAllParts(frame)), (Lines{"Plate", "Bolt"}))
      << "an assembly that cannot list its children adds nothing";
  frame->setQueryStatus(Zol::EOM::IEOMObjectInterface::descriptor.typeId, Zol::kQueryNoInterface);
  EXPECT_TRUE(PluginHelperTool::getAllParts(frame).empty()) << "an entity that is no engineering object";
}

// A host's assembly tree may loop back on itself; the walk skips an assembly
// that already encloses the child, so it ends.
TEST_F(AssemblyTest, AnAssemblyInsideItselfIsNotWalkedAgain) {
  frame->addChildObject(latch);
  EXPECT_EQ(names(PluginHelperTool::getAllParts(frame)), (Lines{"Plate", "Pin", "Spring", "Leaf", "Bolt", "Spring"}))
      << "a sub-assembly met on two paths is walked at each";

  latch->addChildObject(frame);
  hinge->addChildObject(hinge);
  EXPECT_EQ(names(PluginHelperTool::getAllParts(latch)), (Lines{"Spring", "Plate", "Pin", "Leaf", "Bolt"}));
  EXPECT_EQ(names(PluginHelperTool::getAllParts(hinge)), (Lines{"Pin", "Spring", "Plate", "Bolt", "Leaf"}));
  latch->removeChildObject(frame);
  hinge->removeChildObject(hinge);
}

TEST_F(ModelToolsTest, PersistentObjectsMapToTheEngineeringObjectsThatWrapThem) {
  const auto persistent = simhost::makeSimObject<simhost::SimPersistentObject>(
      host.context(), "bracket data", Zol::PersistenceFW::CAEData::EntityReference());
  const auto unknown = simhost::makeSimObject<simhost::SimPersistentObject>(
      host.context(), "unknown data", Zol::PersistenceFW::CAEData::EntityReference());
  const auto bracket = host.addEOMObject(u"bracket", u"Part", {});
  host.eomObjectFactory().setWrapper(persistent->asService(), bracket);

  EXPECT_TRUE(Zol::isSameObject(PluginHelperTool::pfwObject2EOMObject(persistent), bracket));
  EXPECT_FALSE(PluginHelperTool::pfwObject2EOMObject(unknown)) << "the factory wraps nothing it does not know";
  EXPECT_FALSE(PluginHelperTool::pfwObject2EOMObject({}));

  const CallPattern wrap = CallPattern::of<Zol::EOM::IEOMObjectFactoryInterface>("wrap");
  for (const Fault& fault : {Fault::foreignException("not the host's"), Fault::errorResult()}) {
    SCOPED_TRACE(fault.text);
    host.faults().inject(wrap, fault, 1);
    EXPECT_FALSE(PluginHelperTool::pfwObject2EOMObject(persistent)) << "every failure of the wrap gives nothing";
  }
}

TEST_F(ModelToolsTest, TheStudyObjectsDefaultNamesAreRegisteredInTheTablesOrderWithLocalisedTexts) {
  host.typeRegistry().addType(41, u"StudyManager.TessalyShaperStudy");
  host.typeRegistry().addType(42, u"StudyManager.TessalyShaperScenario");
  host.pluginTexts().setText("TessalyShaperStudy_DefaultName", u"Study");
  host.pluginTexts().setText("TessalyShaperScenario_DefaultName", u"Scenario");
  host.pluginTexts().setText("Scenario_Event_DefaultName", u"Event");
  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> provider;
  host.serviceAccess()->getServiceProvider(provider);
  kyr::orla::plugin::wyrdan::LocalStr::initialize(provider);

  PluginHelperTool::registerDefaultNames();
  Lines registered;
  for (const auto& name : host.persistence().defaultNames()) {
    registered.push_back(std::to_string(name.typeId) + " " + utf8(name.name) + " from " +
                         std::to_string(name.firstNumber) + (name.perOwner ? " per owner" : ""));
  }
  EXPECT_EQ(registered,
            (Lines{"41 Study from 1 per owner", "42 Scenario from 1", "42  from 1 per owner", "42 Event from 1"}))
      << "a text missing from the table registers an empty name";

  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> none;
  kyr::orla::plugin::wyrdan::LocalStr::initialize(none);
}

}  // namespace
