// What the simulated host keeps and shows for the plug-in: the plug-in's
// texts, the status bar, and the kernel access and logger a host installs
// while it lives.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"

namespace {

using simhost::CallPattern;
using testing_support::SimHostTest;

TEST_F(SimHostTest, PluginTextsFillTheirPlacesAndFailForWhatTheyLack) {
  using Table = kyr::orla::appfw::ZolITextTranslationTableInterface;
  simhost::SimTextTranslationTable& texts = host.pluginTexts();
  texts.setText(3, u"{0} plates, {1} cells, {2}, {3}, {4}, {5}, {6}");
  texts.setText("BROKEN", u"{0 is not closed");
  const ZolSequence<Zol::ZolAny_24_8> arguments{Zol::ZolAny_24_8(12),
                                                Zol::makeZolAny(std::int64_t{3000000000}),
                                                Zol::makeZolAny(2.5),
                                                Zol::ZolAny_24_8(true),
                                                Zol::makeZolAny("Tr\xC3\xA4ger"),
                                                Zol::makeZolAny(icu::UnicodeString(u"Gau\u00df")),
                                                Zol::makeZolAny(std::uint64_t{18446744073709551615u})};
  icu::UnicodeString text;
  ASSERT_TRUE(texts.getMessage(3, arguments, text).isOk());
  EXPECT_EQ(text, u"12 plates, 3,000,000,000 cells, 2.5, true, Tr\u00e4ger, Gau\u00df, 18,446,744,073,709,551,615");
  EXPECT_EQ(host.journal().count(CallPattern::of<Table>("getMessage").with(3, arguments)), 1u);

  icu::UnicodeString untouched(u"untouched");
  EXPECT_FALSE(texts.getMessage(4, {}, untouched).isOk());
  EXPECT_FALSE(texts.getMessage("MISSING", {}, untouched).isOk());
  EXPECT_FALSE(texts.getMessage("BROKEN", {}, untouched).isOk()) << "a pattern ICU cannot read";
  texts.removeText(3);
  EXPECT_FALSE(texts.getMessage(3, arguments, untouched).isOk());
  EXPECT_EQ(untouched, u"untouched");
  ASSERT_TRUE(texts.getMessage("UITEXT_OK", {}, text).isOk());
  EXPECT_EQ(text, u"OK") << "the host starts with the standard button and caption texts";
}

TEST_F(SimHostTest, TheStatusBarShowsWellFormedPostsAndRecordsWhyOthersFailed) {
  using kyr::orla::appfw::CmdParameters;
  const auto post = [this](const Zol::ZolAny_24_8& payload) {
    host.guiExecutive().runGuiAction("KYR.WyrdanPlugin.ShowStatusMessage", payload);
  };
  post(kyr::orla::appfw::cmdParametersToAny(
      CmdParameters{{"message", Zol::makeZolAny(icu::UnicodeString(u"done"))}, {"severity", Zol::ZolAny_24_8(2)}}));
  post(Zol::ZolAny_24_8(4));
  post(kyr::orla::appfw::cmdParametersToAny(
      CmdParameters{{"message", Zol::makeZolAny("narrow text")}, {"severity", Zol::ZolAny_24_8(1)}}));
  post(kyr::orla::appfw::cmdParametersToAny(CmdParameters{{"message", Zol::makeZolAny(icu::UnicodeString(u"x"))}}));
  const auto shown = host.statusBar().messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, u"done");
  EXPECT_EQ(shown[0].severity, 2);
  EXPECT_EQ(host.statusBar().errors().size(), 3u);
  host.failures().expect("GUI action KYR.WyrdanPlugin.ShowStatusMessage");
  EXPECT_EQ(host.failures().all().size(), 3u) << "each is a host failure too";
}

TEST(SimKernel, AHostInstallsItsKernelAccessAndLoggerWhileItLives) {
  testing_support::LeakCheck leakCheck;
  Zol::ZolIKernelAccessInterface* const kernelsOwn = Zol::getKernelAccessInterface_24_8();
  {
    simhost::SimHost host;
    Zol::ZolIKernelAccessInterface* access = Zol::getKernelAccessInterface_24_8();
    EXPECT_EQ(access, static_cast<Zol::ZolIKernelAccessInterface*>(&host.kernelAccess()));
    ZolSmartPointer<Zol::Framework::Logger::ZolILoggerInterface> logger;
    ASSERT_TRUE(access->getLogger(logger).isOk());
    EXPECT_TRUE(logger->log("meshing", 2).isOk());
    ASSERT_EQ(host.kernelLogger().lines().size(), 1u);
    EXPECT_EQ(host.kernelLogger().lines()[0].text, "meshing");
  }
  EXPECT_EQ(Zol::getKernelAccessInterface_24_8(), kernelsOwn) << "the kernel's own access is back";
}

}  // namespace
