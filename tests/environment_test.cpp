// The plug-in's settings from the simulated host's configuration manager,
// and the product identity: the product's name and the part being designed.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/services/PluginEnv.h"
#include "WyrdanPluginUtilities/services/ProductHelper.h"
#include "support/PluginTest.h"

namespace {

using kyr::orla::plugin::wyrdan::PluginEnv;
using kyr::orla::plugin::wyrdan::ProductHelper;
using simhost::CallPattern;
using simhost::Fault;
using Configuration = Zol::Framework::ZolIConfigurationInterface;
using ConfigurationManager = Zol::Framework::ZolIConfigurationManagerInterface;

constexpr char16_t kDeliverable[] = u"KYR.WyrdanPlugin.Deliverable";
constexpr char16_t kNonDeliverable[] = u"KYR.WyrdanPlugin.NonDeliverable";

class PluginEnvTest : public testing_support::PluginTest {
 protected:
  PluginEnvTest() {
    deliverable()->setValue(u"ExportFolder", u"/srv/export");
    nonDeliverable()->setValue(u"ExportFolder", u"/tmp/export");
    deliverable()->setValue(u"Solver", u"");
    nonDeliverable()->setValue(u"Solver", icu::UnicodeString::fromUTF8("Gau\xC3\x9F"));
    nonDeliverable()->setValue(u"Verbose", u" Yes ");
    deliverable()->setValue(u"KeepScratch", u"off");
  }

  ZolSmartPointer<simhost::SimConfiguration> deliverable() {
    return host.configurationManager().configuration(kDeliverable);
  }
  ZolSmartPointer<simhost::SimConfiguration> nonDeliverable() {
    return host.configurationManager().configuration(kNonDeliverable);
  }

  PluginEnv env;
};

TEST_F(PluginEnvTest, TheDeliverableConfigurationIsSearchedFirstAndExistsAndSetReadTheSameValue) {
  EXPECT_EQ(env.getEnvValue(u"ExportFolder", ""), "/srv/export");
  EXPECT_EQ(env.getEnvValue(u"Solver", ""), "Gau\xC3\x9F") << "an empty deliverable value falls through, as UTF-8";
  EXPECT_EQ(env.getEnvValue(u"Verbose", ""), " Yes ");
  EXPECT_EQ(env.getEnvValue(u"Missing", "fallback"), "") << "the second argument has no effect";
  EXPECT_EQ(env.getEnvValue(u"exportfolder", ""), "") << "setting names are case-sensitive";

  EXPECT_TRUE(env.isEnvExist(u"ExportFolder"));
  EXPECT_TRUE(env.isEnvExist(u"Solver"));
  EXPECT_FALSE(env.isEnvExist(u"Missing"));
  nonDeliverable()->setValue(u"Solver", u"");
  EXPECT_FALSE(env.isEnvExist(u"Solver")) << "an empty value in both configurations is no value";

  EXPECT_TRUE(env.isEnvSet(u"Verbose")) << "\" Yes \" reads as true";
  EXPECT_FALSE(env.isEnvSet(u"KeepScratch"));
  EXPECT_FALSE(env.isEnvSet(u"ExportFolder"));
  EXPECT_FALSE(env.isEnvSet(u"Missing"));
  deliverable()->setValue(u"KeepScratch", u"1");
  EXPECT_TRUE(env.isEnvSet(u"KeepScratch"));
}

TEST_F(PluginEnvTest, AMissingConfigurationOrErrorSkipsOnlyItsOwnStep) {
  host.configurationManager().setConfiguration(kDeliverable, {});
  EXPECT_EQ(env.getEnvValue(u"ExportFolder", ""), "/tmp/export");

  const auto replacement = simhost::makeSimObject<simhost::SimConfiguration>(host.context(), "replacement");
  replacement->setValue(u"ExportFolder", u"/opt/export");
  host.configurationManager().setConfiguration(kDeliverable, replacement);
  EXPECT_EQ(env.getEnvValue(u"ExportFolder", ""), "/opt/export");

  host.faults().inject(CallPattern::of<ConfigurationManager>("getConfiguration").with(icu::UnicodeString(kDeliverable)),
                       Fault::errorResult(), 1);
  EXPECT_EQ(env.getEnvValue(u"ExportFolder", ""), "/tmp/export");
  host.faults().inject(CallPattern::of<Configuration>("getValue"), Fault::errorResult(), 1);
  EXPECT_EQ(env.getEnvValue(u"ExportFolder", ""), "/tmp/export") << "a failed read is no value";
  host.faults().inject(CallPattern::of<Configuration>("getValue"), Fault::errorResult());
  EXPECT_EQ(env.getEnvValue(u"ExportFolder", ""), "");
}

class ProductHelperTest : public testing_support::PluginTest {
 protected:
  ProductHelper& product = *ProductHelper::instance();
};

TEST_F(ProductHelperTest, TheRunningProductAndTheProjectNameTheirProduct) {
  EXPECT_TRUE(product.isOrlaProduct());
  EXPECT_FALSE(product.isTSXProduct());

  host.appExecutive().productInfo()->setProductName(u"Tessaly Shaper");
  EXPECT_FALSE(product.isOrlaProduct());
  EXPECT_TRUE(product.isTSXProduct());

  host.appExecutive().productInfo()->setProductName(u"tessaly shaper");
  EXPECT_FALSE(product.isTSXProduct()) << "names compare exactly";

  host.appExecutive().setProductInfo({});
  EXPECT_FALSE(product.isOrlaProduct());
  EXPECT_FALSE(product.isTSXProduct());

  EXPECT_TRUE(product.isProductName(u"Orla Modeler"));
  EXPECT_FALSE(product.isProductName(u"Tessaly Shaper"));
  EXPECT_FALSE(product.isProductName(u"Kyr")) << "only the record's product name counts";

  const auto project = host.persistence().session()->project();
  project->setProductRecord({u"Tessaly Shaper", u"", u"", u"Tessaly Shaper"});
  EXPECT_TRUE(product.isProductName(u"Tessaly Shaper"));
  EXPECT_FALSE(product.isProductName(u"Orla Modeler"));
  host.persistence().setSession({});
  EXPECT_FALSE(product.isProductName(u"Tessaly Shaper")) << "no session";
}

// Two part representations of a small assembly, the first one's part being designed.
class DesignPartTest : public ProductHelperTest {
 protected:
  DesignPartTest() { host.model().setCurrentDesignPart(plate->partEntity()->persistentPart()); }

  simhost::SimAssemblyBuilder build{host.context(), host.model(), 40};
  const ZolSmartPointer<simhost::SimAssemblyRep> frame = build.assembly(u"Frame");
  const ZolSmartPointer<simhost::SimPartRep> plate = build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
  const ZolSmartPointer<simhost::SimPartRep> bolt = build.partRep(frame, u"Bolt", u"Part::ConcentratedPartRep");
};

TEST_F(DesignPartTest, TheDesignPartIsFoundByTheGUIDOfItsPersistentPartAndWhatIsMissingAnswersFalse) {
  EXPECT_TRUE(product.isDesignPart(plate));
  EXPECT_FALSE(product.isDesignPart(bolt));

  // Another persistent object with the plate's GUID is the same part.
  const auto copy =
      simhost::makeSimObject<simhost::SimPersistentPart>(host.context(), "plate copy", bolt->partEntity()->reference());
  copy->setGUID(plate->partEntity()->persistentPart()->guid());
  bolt->partEntity()->setPersistentPart(copy);
  EXPECT_TRUE(product.isDesignPart(bolt));
  auto differsInTheLastByte = *copy->guid();
  differsInTheLastByte.Data4[7] ^= 1;
  copy->setGUID(differsInTheLastByte);
  EXPECT_FALSE(product.isDesignPart(bolt)) << "all 16 bytes count";

  host.model().setCurrentDesignPart({});
  EXPECT_FALSE(product.isDesignPart(plate)) << "no design part compares as the zero GUID";
  copy->setGUID(std::nullopt);
  EXPECT_TRUE(product.isDesignPart(bolt)) << "a part whose GUID cannot be read is zero too";

  // What is missing answers false, also while the model has no design part.
  EXPECT_FALSE(product.isDesignPart({}));
  bolt->partEntity()->setPersistentPart({});
  EXPECT_FALSE(product.isDesignPart(bolt)) << "a part without a persistent part";
  bolt->setPart({});
  EXPECT_FALSE(product.isDesignPart(bolt)) << "an instance without a part";

  host.persistence().session()->setModel({});
  EXPECT_FALSE(product.isDesignPart(frame)) << "no current model: false before any cast";
}

}  // namespace
