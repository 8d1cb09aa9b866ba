// The simulated host's engineering objects: the state, persistent objects,
// marks and equality of EOM objects, the dependency graph their edges land
// in, and the EOM core that opens objects by GUID and records what to
// generate. (The library's tests read the command processor's generate lists.)
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"

namespace {

using simhost::CallPattern;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EOMObject = Zol::EOM::IEOMObjectInterface;
using simhost::EOMObjectPtr;
using testing_support::guidNumber;
using testing_support::SimHostTest;

std::vector<GUIDDATA> guidsIn(const Zol::EOM::GUIDSequence& guids) { return {guids.begin(), guids.end()}; }

TEST_F(SimHostTest, EOMObjectsAreEqualByGUIDAndAnswerPersistentObjectsAsSet) {
  const auto part = host.addEOMObject("bracket", "Part", guidNumber(1));
  const EOMObjectPtr eom = part;
  const auto twin = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "twin", "Part", guidNumber(1));
  const auto other = host.addEOMObject("other", "Part", guidNumber(2));
  const auto anonymous = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "anonymous", "Part");
  const auto nameless = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "nameless", "Part");
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  const auto rib = host.model().addEntity(5, 2, 0, "Rib", "Stiffener");
  struct Case {
    const char* name;
    EOMObjectPtr a;
    EOMObjectPtr b;
    bool equal;
  };
  const Case cases[] = {
      {"itself", eom, eom, true},
      {"another object with its GUID", eom, twin, true},
      {"another GUID", eom, other, false},
      {"nothing", eom, EOMObjectPtr(), false},
      {"itself without a GUID", anonymous, anonymous, true},
      {"two objects without GUIDs", anonymous, nameless, false},
      {"an entity and itself", plate, plate, true},
      {"two entities", plate, rib, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.a->isEqual(c.b), c.equal);
  }
  // An entity's GUID derives from its words, in their order.
  EXPECT_EQ(EOMObjectPtr(plate)->getGUID(), simhost::SimEntity::guidOfWords(5, 1, 0));
  EXPECT_NE(simhost::SimEntity::guidOfWords(1, 5, 0), simhost::SimEntity::guidOfWords(5, 1, 0));

  const auto secondary =
      simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "secondary", EntityReference());
  EXPECT_FALSE(eom->hasSecondaryPersistentObject());
  part->setSecondaryPersistentObject(secondary);
  EXPECT_TRUE(eom->hasSecondaryPersistentObject());
  part->setHasSecondaryAnswer(false);
  EXPECT_FALSE(eom->hasSecondaryPersistentObject()) << "the yes/no query can disagree with the fetch";
  EXPECT_TRUE(Zol::isSameObject(eom->getSecondaryPersistentObject(), secondary));

  eom->mark();
  EOMObjectPtr(other)->mark();
  eom->mark();
  EXPECT_EQ(part->markCount(), 2);
  EXPECT_EQ(host.journal().count(CallPattern::of<EOMObject>("mark").on(part)), 2u);
}

TEST_F(SimHostTest, DependencyEdgesByObjectObjectsAndGUIDsLandInTheHostsGraph) {
  using Dependencies = Zol::EOM::IEOMDependenciesInterface;
  const auto a = host.addEOMObject("a", "Part", guidNumber(1));
  const auto b = host.addEOMObject("b", "Part", guidNumber(2));
  const auto c = host.addEOMObject("c", "Part", guidNumber(3));
  const auto d = host.addEOMObject("d", "Part", guidNumber(4));
  const GUIDDATA loose = guidNumber(5);
  const auto fromA = Zol::interfaceCast<Dependencies>(a->asService());
  const auto fromB = Zol::interfaceCast<Dependencies>(b->asService());
  const auto fromC = Zol::interfaceCast<Dependencies>(c->asService());
  const auto number = [](const GUIDDATA& guid) { return "#" + std::to_string(guid.Data1); };
  simhost::SimDependencyGraph& graph = host.dependencyGraph();

  ASSERT_TRUE(fromA->addDownstreamObject(b).isOk());
  ASSERT_TRUE(fromA->addDownstreamObjects({c, d}).isOk());
  ASSERT_TRUE(fromA->addDownstreamGUIDs({loose}).isOk());
  ASSERT_TRUE(fromA->addDownstreamObject(b).isOk());
  ASSERT_TRUE(fromB->addDownstreamObject(c).isOk());
  EXPECT_EQ(graph.render(number),
            "#1 -> #2 (by object)\n#1 -> #3 (by objects)\n#1 -> #4 (by objects)\n#1 -> #5 (by GUIDs)\n"
            "#2 -> #3 (by object)\n");
  EXPECT_EQ(graph.changes().size(), 6u) << "the repeated edge is logged but not doubled";

  Zol::EOM::GUIDSequence found;
  ASSERT_TRUE(fromA->getDownstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), (std::vector<GUIDDATA>{guidNumber(2), guidNumber(3), guidNumber(4), loose}));
  ASSERT_TRUE(fromC->getUpstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), (std::vector<GUIDDATA>{guidNumber(1), guidNumber(2)}));

  ASSERT_TRUE(fromA->removeDownstreamObject(b).isOk());
  ASSERT_TRUE(fromA->removeDownstreamObjects({c}).isOk());
  ASSERT_TRUE(fromA->removeDownstreamGUIDs({loose, guidNumber(77)}).isOk()) << "an unknown edge is no error";
  ASSERT_TRUE(fromA->getDownstreamGUIDs(found).isOk());
  EXPECT_EQ(guidsIn(found), std::vector<GUIDDATA>{guidNumber(4)});
  EXPECT_EQ(graph.downstreamOf(guidNumber(2)), std::vector<GUIDDATA>{guidNumber(3)}) << "b's own edge stays";
  ASSERT_EQ(graph.changes().size(), 10u);

  const auto anonymous = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "anonymous", "Part");
  EXPECT_FALSE(Zol::interfaceCast<Dependencies>(anonymous->asService())->addDownstreamObject(b).isOk())
      << "an object without a GUID has no edges";
  EXPECT_FALSE(fromA->addDownstreamObjects({b, anonymous}).isOk());
  EXPECT_FALSE(fromA->addDownstreamObject(EOMObjectPtr()).isOk());
  EXPECT_FALSE(fromA->addDownstreamGUIDs({loose, GUIDDATA()}).isOk());
  EXPECT_EQ(graph.changes().size(), 10u) << "a refused call changes nothing, not even in part";

  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  ASSERT_TRUE(Zol::interfaceCast<Dependencies>(plate->asService())->addDownstreamObject(d).isOk());
  EXPECT_EQ(graph.upstreamOf(guidNumber(4)), (std::vector<GUIDDATA>{guidNumber(1), plate->guid()}))
      << "an entity's derived GUID is its upstream side";
}

TEST_F(SimHostTest, TheEOMCoreOpensKnownObjectsByGUIDAndRecordsWhatToGenerate) {
  using Factory = Zol::EOM::IEOMObjectFactoryInterface;
  using Generator = Zol::EOM::IEOMDependencyManagerInterface;
  Zol::ZolIService service;
  ASSERT_TRUE(host.provider().getService("Zol.EOM.EOMCore", "", service).isOk());
  const auto factory = Zol::interfaceCast<Factory>(service);
  const auto generator = Zol::interfaceCast<Generator>(service);
  ASSERT_TRUE(factory && generator) << "one service, both interfaces";

  const auto part = host.addEOMObject("bracket", "Part", guidNumber(1));
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  const auto stray = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), "stray", "Part", guidNumber(3));
  struct Case {
    const char* name;
    GUIDDATA guid;
    EOMObjectPtr expected;
  };
  const Case cases[] = {
      {"an object the host made", guidNumber(1), part},
      {"an entity", plate->guid(), plate},
      {"an object the host was not told of", guidNumber(3), {}},
      {"the zero GUID", GUIDDATA(), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EOMObjectPtr opened = stray;
    EXPECT_EQ(factory->open(c.guid, opened).isOk(), static_cast<bool>(c.expected));
    EXPECT_TRUE(Zol::isSameObject(opened, c.expected)) << "a failed open empties the pointer";
  }
  EXPECT_EQ(host.journal().count(CallPattern::of<Factory>("open").with(guidNumber(1))), 1u);

  const EOMObjectPtr plateEOM = plate;
  ASSERT_TRUE(generator->bulkGenerate({part, plateEOM}).isOk());
  ASSERT_TRUE(generator->bulkGenerate({plateEOM}).isOk());
  const auto generated = host.eomObjectFactory().bulkGenerations();
  ASSERT_EQ(generated.size(), 2u);
  ASSERT_EQ(generated[0].size(), 2u);
  EXPECT_TRUE(Zol::isSameObject(generated[0][1], plate)) << "in the order given";
}

}  // namespace
