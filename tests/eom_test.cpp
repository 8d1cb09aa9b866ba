// Engineering objects: the adapter's dependency edges, checked against the
// simulated host's dependency graph, and generation in bulk or through the
// generate list.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/eom/EOMObjectAdapter.h"
#include "WyrdanPluginUtilities/eom/GenerativeHelper.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::plugin::wyrdan::EOMObjectAdapter;
using kyr::orla::plugin::wyrdan::GenerativeHelper;
using simhost::CallPattern;
using Zol::EOM::IEOMDependenciesInterface;
using Zol::EOM::IEOMObjectSequence;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

GUIDDATA guid(std::uint32_t number) {
  GUIDDATA value;
  value.Data1 = number;
  return value;
}

class EOMTest : public testing_support::PluginTest {
 protected:
  // An EOM object whose secondary persistent object lets its edges change.
  ZolSmartPointer<simhost::SimEOMObject> object(const char16_t* name, std::uint32_t number,
                                                const char16_t* typeName = u"Part", bool eligible = true) {
    auto made = host.addEOMObject(name, typeName, guid(number));
    auto secondary = simhost::makeSimObject<simhost::SimPersistentObject>(
        host.context(), "secondary " + std::to_string(number), Zol::PersistenceFW::CAEData::EntityReference());
    secondary->setEligible(eligible);
    made->setSecondaryPersistentObject(secondary);
    return made;
  }

  // "upstream -> downstream (by how)" of every edge, by GUID number.
  std::vector<std::string> edges() {
    std::vector<std::string> lines;
    for (const auto& edge : host.dependencyGraph().edges()) {
      lines.push_back(std::to_string(edge.upstream.Data1) + " -> " + std::to_string(edge.downstream.Data1) + " (" +
                      simhost::viaText(edge.addedBy) + ")");
    }
    return lines;
  }

  std::size_t dependencyCalls(const char* operation) {
    return host.journal().count(CallPattern::of<IEOMDependenciesInterface>(operation));
  }
};

using Lines = std::vector<std::string>;

TEST_F(EOMTest, AnAdapterWithoutAnObjectDoesNothing) {
  const auto node = object(u"node", 1);
  EOMObjectAdapter empty;
  EXPECT_FALSE(empty.addUpstreamNodes(std::vector<EOMPtr>{node}));
  EXPECT_FALSE(empty.addDownstreamNode(node));
  empty.clearUpstreamNodes();
  EXPECT_TRUE(host.dependencyGraph().changes().empty());

  EOMObjectAdapter adapter(node);
  adapter.setEomObjectName(u"renamed");
  EXPECT_EQ(adapter.eomObjectName(), u"renamed");
  EXPECT_EQ(adapter.eomObjectTypeName(), u"Part");
  EOMObjectAdapter copy(adapter);
  adapter.setEomObject({});
  EXPECT_FALSE(adapter.eomObject()) << "an empty object releases the held one";
  EXPECT_EQ(copy.eomObject(), EOMPtr(node)) << "the copy holds the object on its own";
  copy = adapter;
  EXPECT_FALSE(copy.eomObject());
}

TEST_F(EOMTest, OnlyEligibleUpstreamNodesTakeTheEdge) {
  const auto target = object(u"target", 1);
  const auto ineligible = object(u"ineligible", 2, u"Part", false);
  const auto eligible = object(u"eligible", 3);
  const auto plain = simhost::makeSimObject<simhost::SimEOMObject>(host.context(), u"no secondary", u"Part", guid(4));
  host.eomObjectFactory().addObject(plain);

  EOMObjectAdapter adapter(target);
  EXPECT_FALSE(adapter.addUpstreamNodes(std::vector<EOMPtr>{ineligible, plain, EOMPtr()}));
  EXPECT_TRUE(edges().empty()) << "no eligible node registers nothing";
  EXPECT_TRUE(adapter.addUpstreamNodes(std::vector<EOMPtr>{ineligible, eligible, plain}));
  EXPECT_EQ(edges(), Lines{"3 -> 1 (object)"});

  EXPECT_FALSE(EOMObjectAdapter(ineligible).addUpstreamNodes(std::vector<EOMPtr>{eligible}))
      << "an ineligible object takes no edge";
  EXPECT_EQ(edges().size(), 1u);
}

// The two registration paths, and the single-node forms that cross them.
TEST_F(EOMTest, ObjectAndGUIDPathsAndTheirSingleNodeForms) {
  const auto t = object(u"t", 1);
  const auto nodes = std::vector<EOMPtr>{object(u"a", 2), object(u"b", 3), object(u"c", 4),
                                         object(u"d", 5), object(u"e", 6), object(u"f", 7)};
  EOMObjectAdapter adapter(t);
  EXPECT_TRUE(adapter.addUpstreamNodes(IEOMObjectSequence{nodes[0]}));
  EXPECT_TRUE(adapter.addUpstreamNodesV2(std::vector<EOMPtr>{nodes[1]}));
  EXPECT_TRUE(adapter.addUpstreamNode(nodes[2]));
  EXPECT_TRUE(adapter.addUpstreamNodeV2(nodes[3]));
  EXPECT_TRUE(adapter.addDownstreamNode(nodes[4]));
  EXPECT_TRUE(adapter.addDownstreamNodeV2(nodes[5]));
  EXPECT_EQ(edges(), (Lines{"2 -> 1 (object)", "3 -> 1 (GUIDs)", "4 -> 1 (GUIDs)", "5 -> 1 (object)", "1 -> 6 (object)",
                            "1 -> 7 (GUIDs)"}))
      << "addUpstreamNode takes the GUID path, addUpstreamNodeV2 the object path";

  host.journal().clear();
  adapter.removeUpstreamNodes(std::vector<EOMPtr>{nodes[0]});
  adapter.removeUpstreamNodes(IEOMObjectSequence{nodes[3]});
  adapter.removeUpstreamNode(nodes[1]);
  adapter.removeUpstreamNodeV2(nodes[2]);
  EXPECT_EQ(dependencyCalls("removeDownstreamObjects"), 2u) << "a vector hands over the sequence {t}";
  EXPECT_EQ(dependencyCalls("removeDownstreamObject"), 1u) << "a sequence hands over t itself";
  EXPECT_EQ(dependencyCalls("removeDownstreamGUIDs"), 1u);
  EXPECT_EQ(edges(), (Lines{"1 -> 6 (object)", "1 -> 7 (GUIDs)"}))
      << "removeUpstreamNodeV2 (object path) removed an edge the GUID path added: the host keeps edges by GUID";

  adapter.removeDownstreamNodes(std::vector<EOMPtr>{nodes[4]});
  adapter.removeDownstreamNodeV2(nodes[5]);
  adapter.removeUpstreamNodesV2(std::vector<EOMPtr>{nodes[2]});
  EXPECT_TRUE(edges().empty());
}

TEST_F(EOMTest, DownstreamListsStopAtTheFirstFailureAndExceptionsKeepWhatWasRegistered) {
  const auto t = object(u"t", 1);
  const auto first = object(u"first", 2);
  const auto refusing = object(u"refusing", 3, u"Part", false);
  const auto third = object(u"third", 4);
  EOMObjectAdapter adapter(t);
  EXPECT_TRUE(adapter.addDownstreamNodes({}));
  EXPECT_FALSE(adapter.addDownstreamNodes({first, refusing, third}));
  EXPECT_EQ(edges(), Lines{"1 -> 2 (object)"}) << "the third node was never tried";

  const auto upstream = std::vector<EOMPtr>{object(u"u1", 5), object(u"u2", 6), object(u"u3", 7)};
  host.faults().inject(CallPattern::of<IEOMDependenciesInterface>("addDownstreamObject").on(upstream[1]),
                       simhost::Fault::userException("locked"));
  EXPECT_FALSE(EOMObjectAdapter(third).addUpstreamNodes(upstream));
  EXPECT_EQ(edges(), (Lines{"1 -> 2 (object)", "5 -> 4 (object)"})) << "no rollback of the first registration";

  host.faults().inject(CallPattern::of<IEOMDependenciesInterface>("removeDownstreamObjects"),
                       simhost::Fault::foreignException("not ours"));
  EXPECT_NO_THROW(EOMObjectAdapter(third).removeUpstreamNodes(upstream)) << "every exception is swallowed";
  EXPECT_NO_THROW(EOMObjectAdapter(third).clearUpstreamNodes());
  EXPECT_EQ(edges().size(), 2u);

  host.faults().inject(CallPattern::of<Zol::EOM::IEOMObjectInterface>("getState").on(third),
                       simhost::Fault::systemException("state unreadable"));
  EXPECT_FALSE(adapter.addDownstreamNode(third)) << "the node's state query is part of the operation";
  EXPECT_FALSE(adapter.addDownstreamNodeV2(third));
  EXPECT_NO_THROW(adapter.removeDownstreamNode(third));
  EXPECT_NO_THROW(adapter.removeDownstreamNodeV2(third));
  EXPECT_EQ(edges().size(), 2u);
}

TEST_F(EOMTest, ClearingUpstreamByTypeAndDownstreamByGUID) {
  const auto t = object(u"t", 1);
  const auto sketch = object(u"sketch", 2, u"Sketch");
  const auto material = object(u"material", 3, u"Material");
  const auto mesh = object(u"mesh", 4);
  EOMObjectAdapter adapter(t);
  ASSERT_TRUE(adapter.addUpstreamNodes(std::vector<EOMPtr>{sketch, material}));
  ASSERT_TRUE(adapter.addDownstreamNodeV2(mesh));

  adapter.clearUpstreamNodesbyType(u"sketch");
  EXPECT_EQ(edges().size(), 3u) << "the type name is compared exactly, letter case included";
  adapter.clearUpstreamNodesbyType(u"Sketch");
  EXPECT_EQ(edges(), (Lines{"3 -> 1 (object)", "1 -> 4 (GUIDs)"}));
  adapter.clearUpstreamNodes();
  EXPECT_EQ(edges(), Lines{"1 -> 4 (GUIDs)"});
  adapter.clearDownstreamNodesV2();
  EXPECT_TRUE(edges().empty());
}

TEST_F(EOMTest, PersistentObjectsContainersAndTheFactory) {
  const auto part = object(u"part", 1);
  auto primary = simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "primary",
                                                                      Zol::PersistenceFW::CAEData::EntityReference());
  part->setPrimaryPersistentObject(primary);
  EOMObjectAdapter adapter(part);
  EXPECT_TRUE(Zol::isSameObject(adapter.persistentObject(), primary));
  part->setHasPrimaryAnswer(false);
  EXPECT_TRUE(Zol::isSameObject(adapter.persistentObject(), part->secondaryPersistentObject()));
  part->setHasSecondaryAnswer(false);
  EXPECT_FALSE(adapter.persistentObject());
  EXPECT_FALSE(adapter.getDpoContainer());

  part->setHasPrimaryAnswer(true);
  EXPECT_FALSE(adapter.getDpoContainer()) << "no owner";
  auto container = simhost::makeSimObject<simhost::SimContainer>(host.context(), "container",
                                                                 Zol::PersistenceFW::CAEData::EntityReference());
  primary->setOwner(container);
  EXPECT_TRUE(Zol::isSameObject(adapter.getDpoContainer(), container));
  container->setQueryStatus(Zol::PersistenceFW::CAEData::IPersistentObjectInterface::descriptor.typeId,
                            Zol::kQueryNoInterface);
  EXPECT_THROW(adapter.getDpoContainer(), Zol::ZolSystemException_24)
      << "a container that is no persistent object raises the cast's exception";
  primary->setOwner({});

  EXPECT_TRUE(Zol::isSameObject(EOMObjectAdapter::open(guid(1)), part));
  EXPECT_FALSE(EOMObjectAdapter::open(guid(99)));
  host.faults().inject(CallPattern::of<Zol::EOM::IEOMObjectFactoryInterface>("open"),
                       simhost::Fault::systemException("closed"), 1);
  EXPECT_FALSE(EOMObjectAdapter::open(guid(1))) << "an exception gives an empty object";
  host.eomObjectFactory().setWrapper(primary->asService(), part);
  EXPECT_TRUE(Zol::isSameObject(EOMObjectAdapter::wrap(primary), part));
  host.faults().inject(CallPattern::of<Zol::EOM::IEOMObjectFactoryInterface>("wrap"),
                       simhost::Fault::foreignException("gone"), 1);
  EXPECT_FALSE(EOMObjectAdapter::wrap(primary));
}

class GenerationTest : public EOMTest {
 protected:
  std::vector<std::uint32_t> numbersOf(const IEOMObjectSequence& objects) {
    std::vector<std::uint32_t> numbers;
    for (const auto& generated : objects) numbers.push_back(simhost::guidOf(generated).Data1);
    return numbers;
  }
};

TEST_F(GenerationTest, BulkGenerationOnceEachInGUIDOrderWithoutExcludedObjects) {
  const auto b = object(u"b", 20);
  const auto a = object(u"a", 10);
  const auto excluded = object(u"excluded", 15);
  excluded->setExcluded(true);
  const auto b2 = object(u"b again", 20);  // another object of b's GUID, after b: b is kept
  GenerativeHelper::bulkGenerateObjects(IEOMObjectSequence{b, a, excluded, b, b2, EOMPtr(), a});
  const auto generated = host.eomObjectFactory().bulkGenerations();
  ASSERT_EQ(generated.size(), 1u);
  EXPECT_EQ(numbersOf(generated[0]), (std::vector<std::uint32_t>{10, 20}));
  EXPECT_TRUE(Zol::isSameObject(generated[0][1], b)) << "the first object of each GUID";
  EXPECT_EQ(host.journal().count(CallPattern::of<Zol::EOM::IEOMObjectInterface>("getGUID")), 6u)
      << "each object's GUID asked for once";
  EXPECT_EQ(a->markCount(), 1);
  EXPECT_EQ(b->markCount(), 1);
  EXPECT_EQ(excluded->markCount(), 0);

  kyr::orla::plugin::wyrdan::ServiceHelper::releaseServices();
  host.journal().clear();
  GenerativeHelper::bulkGenerateObjects(IEOMObjectSequence{excluded});
  EXPECT_EQ(host.eomObjectFactory().bulkGenerations().size(), 1u) << "nothing left: the manager is not called";
  EXPECT_EQ(host.journal().count(CallPattern::of<Zol::Framework::ZolIServiceProviderInterface>("getService")), 1u)
      << "but it was looked up";

  host.journal().clear();
  GenerativeHelper::bulkGenerateObjects(IEOMObjectSequence());
  EXPECT_EQ(host.journal().size(), 0u) << "no objects, no host call";
}

TEST_F(GenerationTest, TheGenerateListGetsTheObjectsAsGiven) {
  const auto b = object(u"b", 20);
  const auto a = object(u"a", 10);
  GenerativeHelper::addToGenerateList(IEOMObjectSequence{b, a, b, EOMPtr()});
  const auto lists = host.commandProcessor().generateLists();
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(numbersOf(lists[0]), (std::vector<std::uint32_t>{20, 10, 20, 0})) << "order and duplicates kept";
  EXPECT_EQ(b->markCount(), 2);

  host.journal().clear();
  GenerativeHelper::addToGenerateList(IEOMObjectSequence());
  EXPECT_EQ(host.journal().size(), 0u);
}

}  // namespace
