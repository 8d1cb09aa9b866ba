// The simulated host's model as a whole, as plug-in authors rely on it: the
// EOM model of assemblies and the type registry. (The library's tests
// exercise the rest.)
#include <gtest/gtest.h>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/HostTest.h"

namespace {

using simhost::CallPattern;
using simhost::Fault;
using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;
using AssemblyRep = Zol::EOM::IEOMAssemblyRepInterface;

using SimModelTest = testing_support::HostTest;

TEST_F(SimModelTest, AssembliesAreEntitiesOfTheModelThatOfferTheirRoles) {
  simhost::SimAssemblyBuilder build(host.context(), host.model(), 50);
  const auto frame = build.assembly(u"Frame");
  const auto plate = build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
  const auto hinge = build.assembly(u"Hinge", frame);
  EXPECT_EQ(plate->partEntity()->reference(), host.model().referenceOf(50, 2, 0)) << "the part is made first";
  EXPECT_EQ(plate->reference(), host.model().referenceOf(50, 3, 0));
  EXPECT_EQ(hinge->reference(), host.model().referenceOf(50, 4, 0));
  EntityPtr resolved;
  host.rootManager().getEntity(plate->reference(), resolved);
  EXPECT_TRUE(Zol::isSameObject(resolved, plate)) << "the root manager resolves what the builder made";

  const EntityPtr assembly = frame;
  const EntityPtr representation = plate;
  const EntityPtr part = plate->partEntity();
  EXPECT_FALSE(Zol::interfaceCast<AssemblyRep>(representation));
  EXPECT_FALSE(Zol::interfaceCast<Zol::EOM::IEOMInstanceInterface>(part));
  EXPECT_TRUE(Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(part)) << "roles come on top of the entity's own";

  Zol::EOM::EOMChildSequence children;
  ASSERT_TRUE(Zol::interfaceCast<AssemblyRep>(assembly)->getChildren(children).isOk());
  ASSERT_EQ(children.size(), 2u);
  EXPECT_TRUE(Zol::isSameObject(children[0].object, plate));
  EXPECT_TRUE(Zol::isSameObject(children[1].object, hinge));

  ZolSmartPointer<Zol::EOM::IEOMObjectInterface> instantiated;
  Zol::interfaceCast<Zol::EOM::IEOMInstanceInterface>(representation)->getEOMPart(instantiated);
  EXPECT_TRUE(Zol::isSameObject(instantiated, part));
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> persistent;
  Zol::interfaceCast<Zol::EOM::IEOMPartInterface>(part)->getPersistentPart(persistent);
  Zol::PersistenceFW::CAEData::GUIDDATA guid;
  ASSERT_TRUE(persistent->getGUID(guid).isOk());
  EXPECT_EQ(guid, plate->partEntity()->guid()) << "the persistent part has its part's GUID";
}

TEST_F(SimModelTest, TheTypeRegistryAnswersWhatATestAddedAndCountsItsLookUps) {
  using Registry = Zol::Services::TypeRegistry::ITypeRegistryInterface;
  const ZolSmartPointer<Registry> registry = kyr::orla::appfw::ServiceCacheAppFrame::typeRegistry_;
  ASSERT_TRUE(registry);
  host.typeRegistry().addType(41, u"StudyManager.Study");
  host.typeRegistry().addType(41, u"StudyManager.TessalyShaperStudy");
  icu::UnicodeString name(u"stale");
  std::uint32_t id = 99;
  registry->getTypeName(41, name);
  EXPECT_EQ(name, u"StudyManager.TessalyShaperStudy");
  registry->getTypeId(u"StudyManager.Study", id);
  EXPECT_EQ(id, 0u) << "a renamed type is no longer found by its old name";
  registry->getTypeName(42, name);
  EXPECT_EQ(name, u"");
  host.faults().inject(CallPattern::of<Registry>("getTypeId"), Fault::errorResult(), 1);
  EXPECT_FALSE(registry->getTypeId(u"StudyManager.TessalyShaperStudy", id).isOk());
  EXPECT_EQ(host.typeRegistry().nameLookUps(), 2u);
  EXPECT_EQ(host.typeRegistry().idLookUps(), 1u) << "a faulted call is no look-up";
}

}  // namespace
