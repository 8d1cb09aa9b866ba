// Entity list conversion against the simulated host's model.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entities/EntConvert.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/HostTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::appfw::ServiceCacheAppFrame;
using kyr::orla::plugin::wyrdan::EntConvert;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::EntityReferenceSequence;
using simhost::CallPattern;
using RootManager = kyr::orla::appfw::IRootManagerInterface;

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

  // "7/1 7/2 ..." of the entities, for readable comparisons.
  static std::string namesOf(const IEntities& entities) {
    std::string names;
    for (const auto& entity : entities) {
      const EntityReference reference = simhost::referenceOf(entity);
      names += (names.empty() ? "" : " ") + std::to_string(reference.first) + "/" + std::to_string(reference.second);
    }
    return names;
  }
  static std::string namesOf(const EntityReferenceSequence& references) {
    std::string names;
    for (const auto& reference : references) {
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

  EXPECT_TRUE(convert.toEntRefSeq(ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>())
                  .empty());
  EXPECT_TRUE(convert.toEntity({}).empty());
}

TEST_F(EntConvertTest, EmptyEntityPointersAreLeftOutByEveryConversion) {
  const auto node = host.model().findEntity(ref(kNode, 1));
  const auto element = host.model().findEntity(ref(kElement, 2));
  const IEntities withGaps{nullptr, node, nullptr, element};
  const IEntities present{node, element};

  EXPECT_EQ(namesOf(convert.toEntRefSeq(withGaps)), "7/1 9/2");
  EXPECT_EQ(namesOf(convert.toEntRefSeq(convert.toEntRefList(withGaps))), "7/1 9/2");
  host.journal().clear();
  const auto list = convert.toEntList(withGaps);
  ASSERT_TRUE(list);
  EXPECT_EQ(host.journal().count(CallPattern::of<RootManager>("makeEntityList").with(present)), 1u)
      << "the host was handed empty entity pointers";
  EXPECT_EQ(namesOf(dynamic_cast<const simhost::SimEntityList*>(list.get())->entities()), "7/1 9/2");
}

TEST_F(EntConvertTest, HostFaultsPassToTheCallerAndReleaseWhatWasTaken) {
  const EntityReferenceSequence refs{ref(kNode, 1), ref(kNode, 2), ref(kNode, 3)};
  host.faults().inject(CallPattern::of<RootManager>("getEntity").with(ref(kNode, 2)),
                       simhost::Fault::systemException("lost"));
  EXPECT_THROW(convert.toEntities(refs), Zol::ZolSystemException_24);
  EXPECT_THROW(convert.toEntList(refs), Zol::ZolSystemException_24);

  host.faults().clear();
  host.faults().inject(CallPattern::of<RootManager>("getEntity").with(ref(kNode, 2)), simhost::Fault::errorResult());
  EXPECT_EQ(namesOf(convert.toEntities(refs)), "7/1 7/3") << "an error result resolves nothing";

  host.faults().clear();
  const auto owner = host.model().findEntity(ref(kNode, 1));
  host.faults().inject(CallPattern::of<kyr::orla::appfw::IEntRefInterface>("addContent"),
                       simhost::Fault::userException("full"));
  EXPECT_THROW(convert.toEntRefList(owner->asService(), kNode, ZolSequence<unsigned int>{1}, {}),
               Zol::ZolUserException_24);
  host.faults().inject(CallPattern::of<kyr::orla::appfw::IEntRefInterface>("getTypeIds"),
                       simhost::Fault::foreignException("no types"));
  auto container = simhost::makeSimObject<simhost::SimEntRefContainer>(host.context(), owner->asService(),
                                                                       owner->reference());
  EXPECT_THROW(convert.toEntity(container), std::runtime_error);
}

TEST_F(EntConvertTest, ContainerMembersComeTypeByTypeInIteratorOrder) {
  const auto owner = host.model().entities().front();
  const auto list = convert.toEntRefList(owner->asService(), kNode, ZolSequence<unsigned int>{3, 1},
                                         ZolSequence<unsigned int>{0, 0});
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
    const std::vector<EntityReference> members = container->memberReferences();
    EXPECT_EQ(namesOf(EntityReferenceSequence(members.begin(), members.end())), "7/1");
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

// A factory whose lists are not container lists.
class PlainListFactory final
    : public simhost::SimObject<Zol::PersistenceFW::CAEData::IEntityReferenceListFactoryInterface> {
 public:
  using SimObject::SimObject;
  Zol::ZolResult_24_8 createList(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>& list) override {
    auto made = simhost::makeSimObject<simhost::SimEntityReferenceList>(context());
    made->setQueryStatus(kyr::orla::appfw::IEntRefListInterface::descriptor.typeId, Zol::kQueryNoInterface);
    list = made;
    return {};
  }
};

TEST_F(EntConvertTest, MissingServicesGiveEmptyResultsAndForeignListsThrow) {
  ServiceCacheAppFrame::entRefListFactory_ = simhost::makeSimObject<PlainListFactory>(host.context(), "plain");
  EXPECT_THROW(convert.toEntRefList(host.model().asService(), kNode, ZolSequence<unsigned int>{1}, {}),
               Zol::ZolSystemException_24);

  ServiceCacheAppFrame::entRefContainerFactory_.reset();
  ServiceCacheAppFrame::entRefListFactory_ =
      simhost::makeSimObject<simhost::SimEntityReferenceListFactory>(host.context(), "lists");
  const auto withoutContainers = convert.toEntRefList(host.model().asService(), kNode, ZolSequence<unsigned int>{1}, {});
  ASSERT_TRUE(withoutContainers);
  EXPECT_TRUE(dynamic_cast<const simhost::SimEntityReferenceList*>(withoutContainers.get())->containers().empty());

  ServiceCacheAppFrame::entRefListFactory_.reset();
  EXPECT_FALSE(convert.toEntRefList(EntityReferenceSequence{ref(kNode, 1)}));
  ServiceCacheAppFrame::rootManager_.reset();
  EXPECT_TRUE(convert.toEntities(EntityReferenceSequence{ref(kNode, 1)}).empty());
  EXPECT_FALSE(convert.toEntList(IEntities()));
}

}  // namespace
