// The simulated host's model as a whole, as plug-in authors rely on it: the
// EOM model of assemblies, the model management, the type registry, the
// configurations, the project and the default names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/HostTest.h"

namespace {

using simhost::CallPattern;
using simhost::Fault;
using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;
using AssemblyRep = Zol::EOM::IEOMAssemblyRepInterface;

class SimModelTest : public testing_support::HostTest {
 protected:
  // The service registered under `name`, as interface `I`.
  template <class I>
  ZolSmartPointer<I> service(const std::string& name) {
    Zol::ZolIService found;
    host.provider().getService(name, "", found);
    return Zol::interfaceCast<I>(found);
  }
};

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
  EXPECT_TRUE(Zol::interfaceCast<AssemblyRep>(assembly));
  EXPECT_FALSE(Zol::interfaceCast<AssemblyRep>(representation));
  EXPECT_TRUE(Zol::interfaceCast<Zol::EOM::IEOMInstanceInterface>(representation));
  EXPECT_FALSE(Zol::interfaceCast<Zol::EOM::IEOMInstanceInterface>(part));
  EXPECT_TRUE(Zol::interfaceCast<Zol::EOM::IEOMPartInterface>(part));
  EXPECT_TRUE(Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(part)) << "roles come on top of the entity's own";

  Zol::EOM::EOMChildSequence children;
  ASSERT_TRUE(Zol::interfaceCast<AssemblyRep>(assembly)->getChildren(children).isOk());
  ASSERT_EQ(children.size(), 2u);
  EXPECT_TRUE(Zol::isSameObject(children[0].object, plate));
  EXPECT_TRUE(Zol::isSameObject(children[1].object, hinge));
  EXPECT_EQ(host.journal().count(CallPattern::of<AssemblyRep>("getChildren").on(assembly)), 1u);

  ZolSmartPointer<Zol::EOM::IEOMObjectInterface> instantiated;
  Zol::interfaceCast<Zol::EOM::IEOMInstanceInterface>(representation)->getEOMPart(instantiated);
  EXPECT_TRUE(Zol::isSameObject(instantiated, part));
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> persistent;
  Zol::interfaceCast<Zol::EOM::IEOMPartInterface>(part)->getPersistentPart(persistent);
  Zol::PersistenceFW::CAEData::GUIDDATA guid;
  ASSERT_TRUE(persistent->getGUID(guid).isOk());
  EXPECT_EQ(guid, plate->partEntity()->guid()) << "the persistent part has its part's GUID";
  EXPECT_TRUE(Zol::interfaceCast<Zol::PersistenceFW::CAEData::IPartInterface>(persistent));

  frame->setQueryStatus(AssemblyRep::descriptor.typeId, 3);
  void* out = nullptr;
  EXPECT_EQ(frame->queryInterface(AssemblyRep::descriptor.typeId, &out).getCode(), 3);
  EXPECT_EQ(out, nullptr) << "an injected query status applies to a role too";
  host.faults().inject(CallPattern::of<AssemblyRep>("getChildren"), Fault::errorResult(9));
  EXPECT_EQ(hinge->getChildren(children).getCode(), 9);
  EXPECT_EQ(children.size(), 2u) << "a failed call writes nothing";
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

TEST_F(SimModelTest, ConfigurationsModelManagementAndPersistenceAnswerWhatATestSet) {
  const auto manager = service<Zol::Framework::ZolIConfigurationManagerInterface>("Zol.Framework.ConfigurationManager");
  ASSERT_TRUE(manager);
  ZolSmartPointer<Zol::Framework::ZolIConfigurationInterface> configuration;
  ASSERT_TRUE(manager->getConfiguration(u"KYR.WyrdanPlugin.NonDeliverable", configuration).isOk());
  host.configurationManager().configuration(u"KYR.WyrdanPlugin.NonDeliverable")->setValue(u"Mesh", u"fine");
  icu::UnicodeString value;
  configuration->getValue(u"Mesh", value, 4);
  EXPECT_EQ(value, u"fine");
  EXPECT_EQ(
      host.journal().count(
          CallPattern::of<Zol::Framework::ZolIConfigurationInterface>("getValue").with(icu::UnicodeString(u"Mesh"), 4)),
      1u);
  host.configurationManager().setConfiguration(u"KYR.WyrdanPlugin.NonDeliverable", {});
  configuration.reset();
  EXPECT_FALSE(manager->getConfiguration(u"KYR.WyrdanPlugin.NonDeliverable", configuration).isOk());
  EXPECT_FALSE(configuration);

  const auto management = service<kyr::orla::plugin::baseplugin::ZolIModelManagementInterface>(
      "kyr.orla.plugin.baseplugin.ModelManagement");
  ASSERT_TRUE(management);
  EXPECT_TRUE(management->flushModel().isOk());
  host.modelManagement().setFlushResult(6);
  EXPECT_EQ(management->flushModel().getCode(), 6);
  EXPECT_EQ(host.modelManagement().flushes(), 2u);

  auto& persistence = host.persistence();
  persistence.registerDefaultName(41, u"Study", 1, true);
  persistence.registerDefaultName(42, u"Scenario", 1, false);
  const auto names = persistence.defaultNames();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1].typeId, 42u);
  EXPECT_EQ(names[1].name, u"Scenario");
  EXPECT_FALSE(names[1].perOwner);
  Zol::PersistenceFW::CAEData::ProductRecord record;
  persistence.session()->project()->getProductRecord(record);
  EXPECT_EQ(record.productName, u"Orla Modeler") << "the project was made by the running product";
}

}  // namespace
