// Entity list conversion against the simulated host's model.
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/entities/EOMCompare.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/entities/EntityEquanPred.h"
#include "WyrdanPluginUtilities/entities/EntityFastCompare.h"
#include "WyrdanPluginUtilities/entities/EntityHashCompare.h"
#include "WyrdanPluginUtilities/entities/EntityW2Compare.h"
#include "WyrdanPluginUtilities/entities/GUIDCompare.h"
#include "WyrdanPluginUtilities/entities/GUIDEuqanPred.h"
#include "WyrdanPluginUtilities/entities/POCompare.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/FreshProcess.h"
#include "support/HostTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::ServiceCacheAppFrame;
using kyr::orla::plugin::wyrdan::EntConvert;
using simhost::CallPattern;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;
using RootManager = kyr::orla::appfw::IRootManagerInterface;
using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;

constexpr std::uint32_t kNode = 7;
constexpr std::uint32_t kElement = 9;

// Nodes 1 to 3 (type 7) and elements 1 to 2 (type 9).
class EntConvertTest : public testing_support::HostTest {
 protected:
  void SetUp() override {
    for (std::uint32_t id = 1; id <= 3; ++id) host.model().addEntity(kNode, id, 0, "node", "Node");
    for (std::uint32_t id = 1; id <= 2; ++id) host.model().addEntity(kElement, id, 0, "element", "Element");
  }

  EntityReference ref(std::uint32_t type, std::uint32_t id) { return host.model().referenceOf(type, id, 0); }

  // "7/1 7/2 ..." of the entities or references, for readable comparisons.
  static EntityReference referenceOf(const EntityReference& reference) { return reference; }
  static EntityReference referenceOf(const EntityPtr& entity) { return simhost::referenceOf(entity); }
  template <typename Range>
  static std::string namesOf(const Range& items) {
    std::string names;
    for (const auto& item : items) {
      const EntityReference reference = referenceOf(item);
      names += (names.empty() ? "" : " ") + std::to_string(reference.first) + "/" + std::to_string(reference.second);
    }
    return names;
  }

  EntConvert convert;
};

TEST_F(EntConvertTest, ConversionsKeepOrderAndDuplicates) {
  const EntityReferenceSequence refs{ref(kElement, 2), ref(kNode, 1), ref(kElement, 2)};
  const IEntities entities = convert.toEntities(refs);
  EXPECT_EQ(namesOf(entities), "9/2 7/1 9/2");
  EXPECT_EQ(entities[0].get(), entities[2].get());
  EXPECT_EQ(convert.toEntRefSeq(entities), refs);

  const auto list = convert.toEntRefList(refs);
  ASSERT_TRUE(list);
  EXPECT_EQ(convert.toEntRefSeq(list), refs);
  EXPECT_EQ(namesOf(convert.toEntities(list)), "9/2 7/1 9/2");
  EXPECT_EQ(convert.toEntRefSeq(convert.toEntRefList(entities)), refs);

  for (const auto& entityList : {convert.toEntList(refs), convert.toEntList(entities), convert.toEntList(list)}) {
    const auto* made = dynamic_cast<const simhost::SimEntityList*>(entityList.get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(namesOf(made->entities()), "9/2 7/1 9/2");
  }
}

TEST_F(EntConvertTest, UnresolvableReferencesAreDropped) {
  const EntityReference unknown = ref(kNode, 99);
  EntityReference foreign = ref(kNode, 2);
  foreign.container = host.provider().asService();
  EXPECT_EQ(namesOf(convert.toEntities(EntityReferenceSequence{ref(kNode, 1), unknown, ref(kNode, 3), foreign})),
            "7/1 7/3");

  host.journal().clear();
  const auto nothing = convert.toEntList(EntityReferenceSequence{unknown, EntityReference()});
  ASSERT_TRUE(nothing);
  EXPECT_EQ(host.journal().count(CallPattern::of<RootManager>("makeEntityList").with(IEntities())), 1u)
      << "unresolved references never reach the host";

  EXPECT_TRUE(
      convert.toEntRefSeq(ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>()).empty());
  EXPECT_TRUE(convert.toEntity({}).empty());
}

// The conversions towards references skip empty entity pointers; the entity
// list is the host's to make from the sequence as given, and the simulated
// root manager refuses one with a gap.
TEST_F(EntConvertTest, EmptyEntityPointersAreSkippedOrHandedToTheHostAsGiven) {
  const auto node = host.model().findEntity(ref(kNode, 1));
  const auto element = host.model().findEntity(ref(kElement, 2));
  const IEntities withGaps{nullptr, node, nullptr, element};

  EXPECT_EQ(namesOf(convert.toEntRefSeq(withGaps)), "7/1 9/2");
  EXPECT_EQ(namesOf(convert.toEntRefSeq(convert.toEntRefList(withGaps))), "7/1 9/2");
  host.journal().clear();
  host.failures().expect("root manager: makeEntityList: entity 0 of 4 is empty");
  EXPECT_FALSE(convert.toEntList(withGaps)) << "the host made no list";
  EXPECT_EQ(host.journal().count(CallPattern::of<RootManager>("makeEntityList").with(withGaps)), 1u)
      << "the sequence reached the host unchanged";
  ASSERT_EQ(host.failures().all().size(), 1u);
}

TEST_F(EntConvertTest, ContainerMembersComeTypeByTypeInIteratorOrder) {
  const auto owner = host.model().entities().front();
  const auto list =
      convert.toEntRefList(owner->asService(), kNode, ZolSequence<unsigned int>{3, 1}, ZolSequence<unsigned int>{0, 0});
  const auto* made = dynamic_cast<const simhost::SimEntityReferenceList*>(list.get());
  ASSERT_NE(made, nullptr);
  ASSERT_EQ(made->containers().size(), 1u);
  const auto container = made->containers().front();
  container->addContent(kElement, ZolSequence<unsigned int>{2}, ZolSequence<unsigned int>{});
  container->addContent(kNode, ZolSequence<unsigned int>{42}, ZolSequence<unsigned int>{});
  EXPECT_EQ(namesOf(convert.toEntity(container)), "7/3 7/1 9/2") << "7/42 does not resolve";
}

TEST_F(EntConvertTest, OwnerReferenceComesFromItsEntityOrItsPersistentObject) {
  const auto element = host.model().findEntity(ref(kElement, 1));
  const auto node = host.model().findEntity(ref(kNode, 2));
  auto wrapped = simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "wrapped", EntityReference());
  host.eomObjectFactory().setWrapper(wrapped->asService(), element);
  auto persistent = simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "persistent", ref(kNode, 2));
  auto neither = simhost::makeSimObject<simhost::SimService>(host.context(), "neither");

  struct Case {
    const char* name;
    Zol::ZolIService owner;
    EntityReference expected;
  };
  const Case cases[] = {
      {"wrapped by an entity", wrapped->asService(), element->reference()},
      {"a persistent object", persistent->asService(), node->reference()},
      {"neither", neither->asService(), EntityReference{host.model().asService(), 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto list = convert.toEntRefList(c.owner, kNode, ZolSequence<unsigned int>{1}, ZolSequence<unsigned int>{});
    const auto* made = dynamic_cast<const simhost::SimEntityReferenceList*>(list.get());
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->containers().size(), 1u);
    const auto* container = dynamic_cast<const simhost::SimEntRefContainer*>(made->containers()[0].get());
    EXPECT_EQ(container->reference(), c.expected);
    EXPECT_TRUE(Zol::isSameObject(container->owner(), c.owner));
    EXPECT_EQ(namesOf(container->memberReferences()), "7/1");
  }

  const auto noFirstIds =
      convert.toEntRefList(persistent->asService(), kNode, ZolSequence<unsigned int>{}, ZolSequence<unsigned int>{1});
  ASSERT_TRUE(noFirstIds);
  EXPECT_TRUE(dynamic_cast<const simhost::SimEntityReferenceList*>(noFirstIds.get())->containers().empty());
  EXPECT_TRUE(dynamic_cast<const simhost::SimEntityReferenceList*>(
                  convert.toEntRefList(Zol::ZolIService(), kNode, ZolSequence<unsigned int>{1}, {}).get())
                  ->containers()
                  .empty());
}

using kyr::orla::plugin::wyrdan::EntityCompare;
using kyr::orla::plugin::wyrdan::EntityEquanPred;
using kyr::orla::plugin::wyrdan::EntityFastCompare;
using kyr::orla::plugin::wyrdan::EntityHashCompare;
using kyr::orla::plugin::wyrdan::EntityW2Compare;
using kyr::orla::plugin::wyrdan::EOMCompare;
using kyr::orla::plugin::wyrdan::GUIDCompare;
using kyr::orla::plugin::wyrdan::GUIDEuqanPred;
using kyr::orla::plugin::wyrdan::POCompare;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

// A GUID whose word 0 is `first` and word 1 `second`.
GUIDDATA guidOf(std::uint64_t first, std::uint64_t second) {
  unsigned char word[8];
  std::memcpy(word, &first, sizeof word);
  GUIDDATA guid;
  std::memcpy(&guid.Data1, word, 4);
  std::memcpy(&guid.Data2, word + 4, 2);
  std::memcpy(&guid.Data3, word + 6, 2);
  std::memcpy(guid.Data4, &second, sizeof guid.Data4);
  return guid;
}

class ComparatorTest : public testing_support::HostTest {
 protected:
  ~ComparatorTest() override { simhost::SimRootManager::setHash({}); }

  EntityPtr entity(std::uint32_t first, std::uint32_t second, std::uint32_t third = 0) {
    return host.model().addEntity(first, second, third, u"entity", u"Plate");
  }
  // An entity that is no EOM object, in a container other than the model.
  EntityPtr plainEntity(std::uint32_t first, std::uint32_t second, const Zol::ZolIService& container) {
    auto made = simhost::makeSimObject<simhost::SimEntity>(host.context(), EntityReference{container, first, second, 0},
                                                           u"plain", u"Plate");
    made->setQueryStatus(Zol::EOM::IEOMObjectInterface::descriptor.typeId, Zol::kQueryNoInterface);
    return made;
  }
  std::size_t adapterCalls() { return host.journal().count("kyr.orla.appfw.IInterfaceAdapterManager"); }
};

// The host's adapter manager is taken once per process and kept, so the
// comparators' start-up runs in a fresh process. Without a root manager no
// adapter manager is found: the comparators answer false and 0; a root
// manager that is no adapter manager makes construction throw, keeping
// nothing; a later construction that finds one publishes it to every
// comparator.
TEST(EntityCompareStartUp, NoComparatorUntilTheRootManagerIsAnAdapterManager) {
  testing_support::inFreshProcess([] {
    simhost::SimHost host;
    const auto a = host.model().addEntity(5, 1, 0, u"a", u"Plate");
    const auto b = host.model().addEntity(5, 2, 0, u"b", u"Plate");
    const auto rootManager = ServiceCacheAppFrame::rootManager_;
    ServiceCacheAppFrame::rootManager_.reset();
    const EntityCompare blind;
    EXPECT_FALSE(blind.equals(a, a));
    EXPECT_FALSE(blind.lessThan(a, b));
    EXPECT_EQ(blind.hashCode(a), 0);
    EXPECT_EQ(EntityHashCompare()(a), 0u);

    ServiceCacheAppFrame::rootManager_ = rootManager;
    const Zol::ZolTypeId adapterManager = kyr::orla::appfw::IInterfaceAdapterManagerInterface::descriptor.typeId;
    host.rootManager().setQueryStatus(adapterManager, Zol::kQueryNoInterface);
    EXPECT_THROW(EntityCompare(), Zol::ZolSystemException_24);
    EXPECT_THROW(EntityHashCompare(), Zol::ZolSystemException_24) << "nothing was kept from the failed attempt";
    host.rootManager().setQueryStatus(adapterManager, Zol::kQueryOk);
    EXPECT_TRUE(EntityCompare().lessThan(a, b));
    EXPECT_TRUE(blind.equals(a, a)) << "the manager found is shared by every comparator";
  });
}

TEST_F(ComparatorTest, FastCompareOrdersByTwoWordsWithEmptyFirst) {
  const auto other = simhost::makeSimObject<simhost::SimService>(host.context(), "other container");
  struct Case {
    const char* name;
    EntityPtr a;
    EntityPtr b;
    bool less;
    bool equal;
  };
  const Case cases[] = {
      {"both empty", {}, {}, false, true},
      {"empty first", {}, entity(5, 1), true, false},
      {"empty second", entity(5, 1), {}, false, false},
      {"third word differs", entity(5, 1, 0), entity(5, 1, 7), false, true},
      {"container differs", entity(5, 1), plainEntity(5, 1, other->asService()), false, true},
      {"first word decides", entity(4, 9), entity(5, 1), true, false},
      {"second word decides", entity(5, 1), entity(5, 2), true, false},
      {"words are unsigned", entity(1, 0), entity(0xffffffffu, 0), true, false},
  };
  host.journal().clear();
  const EntityFastCompare fast;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fast.lessThan(c.a, c.b), c.less);
    EXPECT_EQ(fast(c.a, c.b), c.less);
    EXPECT_EQ(fast.equal(c.a, c.b), c.equal);
    if (c.equal) {
      EXPECT_FALSE(fast.lessThan(c.b, c.a));
    }
  }
  EXPECT_EQ(adapterCalls(), 0u) << "never asks the host's adapter manager";
}

TEST_F(ComparatorTest, EntityCompareAndItsTraitsAskTheHost) {
  const auto other = simhost::makeSimObject<simhost::SimService>(host.context(), "other container");
  const EntityPtr a = entity(5, 1);
  const EntityPtr b = entity(5, 2);
  const EntityPtr elsewhere = plainEntity(5, 1, other->asService());
  const EntityCompare compare;
  EXPECT_TRUE(compare.equals(a, entity(5, 1)));
  EXPECT_FALSE(compare.equals(a, elsewhere)) << "the host compares containers too";
  EXPECT_TRUE(EntityFastCompare().equal(a, elsewhere));
  EXPECT_TRUE(compare.lessThan(a, b));
  EXPECT_FALSE(compare.lessThan(b, a));
  EXPECT_TRUE(compare.equals(EntityPtr(), EntityPtr())) << "both are the empty reference";
  EXPECT_EQ(compare.hashCode(a), simhost::SimRootManager::defaultHash(simhost::referenceOf(a)));

  const EntityHashCompare traits;
  EXPECT_FALSE(traits(simhost::referenceOf(a), simhost::referenceOf(a))) << "two arguments: an order";
  EXPECT_TRUE(traits(a, b));
  simhost::SimRootManager::setHash([](const EntityReference&) { return -1; });
  EXPECT_EQ(traits(simhost::referenceOf(a)), ~std::size_t{0}) << "a hash of -1 sign-extends to every bit";
  EXPECT_EQ(traits(b), ~std::size_t{0});
  simhost::SimRootManager::setHash([](const EntityReference& reference) { return std::int32_t(reference.second); });

  std::set<EntityPtr, EntityHashCompare> ordered{b, a, entity(5, 1)};
  EXPECT_EQ(ordered.size(), 2u);

  const EntityReference unresolved = host.model().referenceOf(5, 99, 0);
  const EntityEquanPred byReferencePred(unresolved);
  EXPECT_TRUE(byReferencePred(host.model().referenceOf(5, 99, 0))) << "the reference still matches";
  EXPECT_FALSE(byReferencePred(a));
  const EntityEquanPred byEntity(a);
  EXPECT_TRUE(byEntity(entity(5, 1)));
  EXPECT_TRUE(byEntity(simhost::referenceOf(a)));
  EXPECT_FALSE(byEntity(b));
}

TEST_F(ComparatorTest, GUIDsOrderByTheirTwoWords) {
  const GUIDCompare compare;
  const GUIDDATA g = guidOf(0, 7);
  EXPECT_FALSE(compare.lessThan(g, g));
  EXPECT_TRUE(compare.lessThan(guidOf(0, ~0ull), guidOf(1, 0))) << "word 0 decides first";
  EXPECT_TRUE(compare(guidOf(1, 2), guidOf(1, 3)));
  EXPECT_TRUE(compare.lessThan(guidOf(0x7fffffffffffffffull, 0), guidOf(0x8000000000000000ull, 0))) << "unsigned";
  EXPECT_TRUE(compare.equal(g, guidOf(0, 7)));
  EXPECT_FALSE(compare.equal(g, guidOf(7, 0)));
  EXPECT_TRUE(GUIDEuqanPred(g)(guidOf(0, 7)));
  EXPECT_FALSE(GUIDEuqanPred(g)(guidOf(0, 8)));
}

TEST_F(ComparatorTest, PersistentAndEOMObjectsCompareByGUID) {
  using Zol::PersistenceFW::CAEData::IPersistentObjectInterface;
  auto first = simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "first", EntityReference());
  auto second = simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "second", EntityReference());
  auto none = simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "none", EntityReference());
  first->setGUID(guidOf(1, 0));
  second->setGUID(guidOf(2, 0));
  const ZolSmartPointer<IPersistentObjectInterface> a = first;
  const ZolSmartPointer<IPersistentObjectInterface> b = second;
  const ZolSmartPointer<IPersistentObjectInterface> failing = none;
  const POCompare po;
  EXPECT_TRUE(po(a, b));
  EXPECT_TRUE(po.equals(failing, ZolSmartPointer<IPersistentObjectInterface>())) << "a failing query is the zero GUID";
  EXPECT_TRUE(po.lessThan(failing, a));

  const EOMPtr x = host.addEOMObject(u"x", u"Part", guidOf(3, 0));
  const EOMPtr y = host.addEOMObject(u"y", u"Part", guidOf(4, 0));
  const EOMPtr twin = host.addEOMObject(u"twin", u"Part", guidOf(3, 0));
  const EOMCompare unbound;
  EXPECT_FALSE(unbound(x)) << "nothing bound matches nothing";
  EXPECT_FALSE(unbound.equals(EOMPtr(), x));
  EXPECT_FALSE(unbound.lessThan(EOMPtr(), EOMPtr()));
  EXPECT_TRUE(unbound.lessThan(EOMPtr(), x));
  EXPECT_TRUE(unbound(x, y));
  EXPECT_TRUE(unbound.equals(x, twin)) << "the host's own equality test";
  EXPECT_TRUE(EOMCompare(x)(twin));
  EXPECT_FALSE(EOMCompare(x)(y));
}

TEST_F(ComparatorTest, W2ComparesEOMObjectsByIdentityAndOthersThroughTheHost) {
  const auto other = simhost::makeSimObject<simhost::SimService>(host.context(), "other container");
  const auto eom = host.model().addEntity(5, 1, 0, u"part", u"Part");
  const EntityPtr part = eom;
  const EntityPtr samePart = host.model().findEntity(eom->reference());
  const EntityPtr plain = plainEntity(6, 1, host.model().asService());
  const EntityPtr plainElsewhere = plainEntity(6, 1, other->asService());
  const EntityW2Compare w2;
  EXPECT_TRUE(w2.equal(part, samePart));
  EXPECT_FALSE(w2.equal(plain, part)) << "only b is an EOM object";
  EXPECT_FALSE(w2.equal(part, plain)) << "a's test against an empty EOM object";
  EXPECT_TRUE(w2.lessThan(plain, part)) << "plain entities count as the zero GUID";
  EXPECT_FALSE(w2.lessThan(part, plain));
  EXPECT_TRUE(w2.equal(plain, plainEntity(6, 1, host.model().asService()))) << "neither: the host decides";
  EXPECT_FALSE(w2.equal(plain, plainElsewhere));
  EXPECT_EQ(w2(plain, plainElsewhere), EntityCompare().lessThan(plain, plainElsewhere));
}

}  // namespace
