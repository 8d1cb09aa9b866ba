// The simulated host's entities and model: names, parents and named
// children, the model's root assembly, the root manager's comparison and
// hashing of entity references, and persistent objects and containers.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"

namespace {

using kyr::orla::appfw::IEntityInterface;
using simhost::CallPattern;
using Zol::PersistenceFW::CAEData::EntityReference;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EntityPtr = ZolSmartPointer<IEntityInterface>;
using EOMObject = Zol::EOM::IEOMObjectInterface;
using testing_support::guidNumber;
using testing_support::SimHostTest;
using testing_support::utf8;

TEST_F(SimHostTest, EntitiesAnswerTheirNamesAndKeepTheirParentAndNamedChildren) {
  const auto root = host.model().findEntity(host.model().referenceOf(1, 1, 0));
  ASSERT_TRUE(root) << "the model's root entity";
  const auto plate = host.model().addEntity(5, 1, 0, "Plate 1", "Plate");
  const auto rib = host.model().addEntity(5, 2, 0, "Rib", "Stiffener");
  const EntityPtr entity = plate;
  const auto eom = Zol::interfaceCast<EOMObject>(plate->asService());
  ASSERT_TRUE(eom);

  icu::UnicodeString name;
  ASSERT_TRUE(eom->setName("Web").isOk());
  ASSERT_TRUE(entity->getName(name).isOk());
  EXPECT_EQ(utf8(name), "Web") << "the entity's name is its EOM name";
  EXPECT_EQ(host.journal().count(CallPattern::of<IEntityInterface>("getName").on(plate)), 1u);
  EXPECT_EQ(host.journal().count(CallPattern::of<EOMObject>("getName")), 0u)
      << "each interface journals its own name queries";

  ASSERT_TRUE(entity->setParent(root).isOk());
  EXPECT_EQ(plate->parent(), root->reference());
  ASSERT_TRUE(entity->setParent(EntityPtr()).isOk());
  EXPECT_EQ(plate->parent(), EntityReference()) << "an empty parent clears it";

  const EntityPtr rootEntity = root;
  ASSERT_TRUE(rootEntity->addChild(plate, "first").isOk());
  ASSERT_TRUE(rootEntity->addChild(rib, "second").isOk());
  EXPECT_EQ(rootEntity->addChild(EntityPtr(), "none").getCode(), Zol::ZolResult_24_8::kFailure);
  const auto children = root->namedChildren();
  ASSERT_EQ(children.size(), 2u) << "an empty child is not added";
  EXPECT_EQ(utf8(children[1].name), "second");
  EXPECT_EQ(root->children(), (std::vector<EntityReference>{plate->reference(), rib->reference()}));
}

TEST_F(SimHostTest, TheModelsRootAssemblyStandsForTheRootEntityUntilTakenAway) {
  using Assembly = Zol::PersistenceFW::CAEData::IAssemblyInterface;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistenceSessionInterface> session;
  ASSERT_TRUE(host.persistence().getCurrentSession(session).isOk());
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IModelInterface> model;
  ASSERT_TRUE(session->getModel(model).isOk());

  ZolSmartPointer<Assembly> assembly;
  ASSERT_TRUE(model->getRootAssembly(assembly).isOk());
  EntityReference reference;
  ASSERT_TRUE(assembly->getEntityReference(reference).isOk());
  EXPECT_EQ(reference, host.model().referenceOf(1, 1, 0));

  host.model().setRootAssembly({});
  ZolSmartPointer<Assembly> taken = assembly;
  EXPECT_TRUE(model->getRootAssembly(taken).isOk());
  EXPECT_FALSE(taken) << "the model has no root assembly now";
  EXPECT_TRUE(host.model().findEntity(reference)) << "its entity stays";

  const auto study = host.model().makeRootAssembly(2, 1, 0, "Study model", "Assembly");
  ZolSmartPointer<Assembly> made;
  ASSERT_TRUE(model->getRootAssembly(made).isOk());
  EXPECT_TRUE(Zol::isSameObject(made, study));
}

TEST_F(SimHostTest, TheRootManagerComparesAndHashesReferencesByContainerAndWords) {
  using Adapter = kyr::orla::appfw::IInterfaceAdapterManagerInterface;
  const auto adapter = Zol::interfaceCast<Adapter>(host.rootManager().asService());
  ASSERT_TRUE(adapter) << "the root manager is also the adapter manager";

  // One object reached through two of its interfaces gives two pointers.
  const auto owner = host.model().addEntity(7, 1, 0, "owner", "Part");
  const Zol::ZolIService ownerAsEntity = owner->asService();
  const Zol::ZolIService ownerAsEOM = Zol::interfaceCast<EOMObject>(owner->asService());
  ASSERT_NE(ownerAsEntity.get(), ownerAsEOM.get());
  const auto otherModel = simhost::makeSimObject<simhost::SimModel>(host.context(), "other model");
  const EntityReference plate = host.model().referenceOf(5, 1, 0);

  struct Case {
    const char* name;
    EntityReference a;
    EntityReference b;
    bool equal;
  };
  const Case cases[] = {
      {"same container and words", plate, host.model().referenceOf(5, 1, 0), true},
      {"one container through two interfaces", {ownerAsEntity, 3, 4, 0}, {ownerAsEOM, 3, 4, 0}, true},
      {"other words", plate, host.model().referenceOf(5, 2, 0), false},
      {"other third word", plate, host.model().referenceOf(5, 1, 1), false},
      {"another container", plate, otherModel->referenceOf(5, 1, 0), false},
      {"no container", plate, EntityReference{{}, 5, 1, 0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(adapter->areEqual(c.a, c.b), c.equal);
    EXPECT_EQ(adapter->areEqual(c.b, c.a), c.equal);
    EXPECT_FALSE(adapter->isLess(c.a, c.a)) << "irreflexive";
    if (c.equal) {
      EXPECT_FALSE(adapter->isLess(c.a, c.b) || adapter->isLess(c.b, c.a)) << "equal references are unordered";
      EXPECT_EQ(adapter->hashCode(c.a), adapter->hashCode(c.b)) << "equal references hash alike";
    } else {
      EXPECT_NE(adapter->isLess(c.a, c.b), adapter->isLess(c.b, c.a)) << "exactly one is first";
    }
  }

  const std::int32_t plateHash = adapter->hashCode(plate);
  EXPECT_EQ(plateHash, simhost::SimRootManager::defaultHash(plate));
  EXPECT_NE(plateHash, adapter->hashCode(host.model().referenceOf(5, 2, 0)));
  EXPECT_NE(plateHash, adapter->hashCode(host.model().referenceOf(1, 5, 0))) << "the words' order counts";
}

TEST_F(SimHostTest, PersistentObjectsAnswerGUIDAndOwnerAsSet) {
  using Persistent = Zol::PersistenceFW::CAEData::IPersistentObjectInterface;
  const auto object =
      simhost::makeSimObject<simhost::SimPersistentObject>(host.context(), "part data", EntityReference());
  const auto folder = simhost::makeSimObject<simhost::SimContainer>(host.context(), "folder", EntityReference());
  const ZolSmartPointer<Persistent> persistent = object;

  GUIDDATA guid = guidNumber(42);
  EXPECT_EQ(persistent->getGUID(guid).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_EQ(guid, guidNumber(42)) << "without a GUID nothing is written";
  object->setGUID(guidNumber(3));
  ASSERT_TRUE(persistent->getGUID(guid).isOk());
  EXPECT_EQ(guid, guidNumber(3));

  ZolSmartPointer<Persistent> owner = folder;
  ASSERT_TRUE(persistent->getOwner(owner).isOk());
  EXPECT_FALSE(owner) << "a top-level object has no owner";
  object->setOwner(folder);
  ASSERT_TRUE(persistent->getOwner(owner).isOk());
  EXPECT_TRUE(Zol::interfaceCast<Zol::PersistenceFW::CAEData::IContainerInterface>(owner));
}

}  // namespace
