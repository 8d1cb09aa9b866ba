// The plug-in's texts (LocalStr) and its messages to the user
// (MessageHandler) on the simulated host: texts by id or key with their
// fallbacks, status messages, messages through the framework access, and
// pop-ups.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "WyrdanPluginUtilities/diagnostics/MessageHandler.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "support/DiagnosticsHelpers.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::Severity;
using kyr::orla::plugin::wyrdan::LocalStr;
using kyr::orla::plugin::wyrdan::MessageHandler;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using simhost::CallPattern;
using simhost::Fault;
using Provider = Zol::Framework::ZolIServiceProviderInterface;
using Table = kyr::orla::appfw::ZolITextTranslationTableInterface;
using Strings = std::vector<std::string>;
using testing_support::holdersOf;

// Library tests with the plug-in's texts found: LocalStr initialised with the
// host's service provider.
class MessagesTest : public testing_support::PluginTest {
 protected:
  MessagesTest() {
    host.serviceAccess()->getServiceProvider(provider);
    LocalStr::initialize(provider);
    host.journal().clear();
  }

  std::size_t lookups() { return host.journal().count(CallPattern::of<Table>("getMessage")); }
  std::vector<simhost::SimGuiExecutive::ShownMessageBox> boxes() { return host.guiExecutive().messageBoxes(); }

  ZolSmartPointer<Provider> provider;
};

TEST_F(MessagesTest, TextsComeFromThePluginTableByIdOrKeyElseFromTheFallback) {
  host.pluginTexts().setText(12, u"Plate has no material");
  host.pluginTexts().setText(0, u"id 0 stands for the key");
  host.pluginTexts().setText("GREETING", u"Gr\u00fc\u00df Gott");
  host.pluginTexts().setText("EMPTY", u"");
  struct Case {
    LocalStr text;
    icu::UnicodeString expected;
  };
  Case cases[] = {
      {LocalStr(12, "fallback"), u"Plate has no material"},
      {LocalStr("GREETING", "fallback"), u"Gr\u00fc\u00df Gott"},
      {LocalStr(13, "Tr\xC3\xA4ger fehlt"), u"Tr\u00e4ger fehlt"},
      {LocalStr("MISSING", "fallback"), u"fallback"},
      {LocalStr("EMPTY", "fallback"), u"fallback"},
      {LocalStr(0, "no key"), u"no key"},
      {LocalStr("", ""), u""},
  };
  for (Case& c : cases) {
    std::string utf8;
    c.expected.toUTF8String(utf8);
    SCOPED_TRACE(utf8);
    EXPECT_EQ(c.text.getUStr(), c.expected);
    EXPECT_EQ(c.text.getStr(), utf8);
  }
  EXPECT_EQ(LocalStr("GREETING", "fallback").getWStr(), L"Gr\u00fc\u00df Gott");

  host.faults().inject(CallPattern::of<Table>("getMessage"), Fault::errorResult());
  EXPECT_EQ(LocalStr(12, "the table failed").getUStr(), u"the table failed");
}

TEST_F(MessagesTest, ATextIsTranslatedOnceUntilItIsFormattedAgain) {
  host.pluginTexts().setText("MESHED", u"{0} of {1} plates meshed, {2}");
  LocalStr meshed("MESHED", "meshed");
  EXPECT_EQ(meshed.getStr(), "{0} of {1} plates meshed, {2}");
  meshed.getUStr();
  meshed.getWStr();
  EXPECT_EQ(lookups(), 1u);

  const ZolSequence<Zol::ZolAny_24_8> arguments{Zol::ZolAny_24_8(3), Zol::ZolAny_24_8(1200), Zol::makeZolAny("steel")};
  EXPECT_EQ(meshed.format(arguments).getStr(), "3 of 1,200 plates meshed, steel");
  EXPECT_EQ(meshed.getStr(), "3 of 1,200 plates meshed, steel");
  EXPECT_EQ(lookups(), 2u) << "getStr after format serves the formatted text";

  host.pluginTexts().setText("MESHED", u"changed");
  EXPECT_EQ(meshed.getStr(), "3 of 1,200 plates meshed, steel") << "kept until formatted again";
  EXPECT_EQ(meshed.format({}).getStr(), "changed");

  LocalStr copy(meshed);
  LocalStr assigned(7, "other");
  assigned = copy;
  LocalStr moveAssigned(8, "other");
  moveAssigned = LocalStr(std::move(assigned));
  EXPECT_EQ(moveAssigned.getStr(), "changed");
  EXPECT_EQ(lookups(), 3u) << "copies carry the kept text";

  host.pluginTexts().setText(12, u"Plate {0} has no material");
  EXPECT_EQ(LocalStr(12, "fallback").format({Zol::ZolAny_24_8(3)}).getStr(), "Plate 3 has no material")
      << "a text by id is formatted with its arguments too";
}

TEST_F(MessagesTest, InitializeLooksThePluginUpAnewAndAnyMissingStepMeansFallbacks) {
  host.pluginTexts().setText("TITLE", u"Mesh");
  const auto title = [] { return LocalStr("TITLE", "fallback").getUStr(); };
  EXPECT_EQ(title(), u"Mesh");
  EXPECT_EQ(holdersOf(host.pluginTexts().asService()), Strings{"LocalStr: message helper's translation table"});
  EXPECT_EQ(holdersOf(host.plugin().asService()), Strings{"LocalStr: message helper's plug-in"});

  struct Step {
    const char* what;
    std::function<void()> breakIt;
    std::function<void()> repair;
  };
  const ZolSmartPointer<Provider> hostProvider = provider;
  const Step steps[] = {
      {"an empty provider", [&] { provider = {}; }, [&] { provider = hostProvider; }},
      {"a plug-in without a table", [&] { host.plugin().setTable({}); },
       [&] { host.plugin().setTable(ZolSmartPointer<simhost::SimTextTranslationTable>(&host.pluginTexts())); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.breakIt();
    LocalStr::initialize(provider);
    EXPECT_EQ(title(), u"fallback");
    step.repair();
    LocalStr::initialize(provider);
    EXPECT_EQ(title(), u"Mesh");
  }
  host.faults().inject(CallPattern::of<Provider>("getService").with("kyr.orla.appfw.AppExecutive", ""),
                       Fault::systemException("look-up failed"), 1);
  EXPECT_THROW(LocalStr::initialize(provider), Zol::ZolSystemException_24);
  EXPECT_EQ(title(), u"fallback") << "what an interrupted look-up found before is not kept";
}

TEST_F(MessagesTest, StatusMessagesReachTheStatusBarAndShownMessagesTheFrameworkAccess) {
  MessageHandler::postStatusMessage(u"Meshing done", kyr::orla::appfw::SeverityInfo);
  MessageHandler::postStatusMessage(u"Tr\u00e4ger fehlt", kyr::orla::appfw::SeverityError);
  const auto runs = host.journal().calls(CallPattern::of<kyr::orla::appfw::ZolIGuiExecutiveInterface>("runGuiAction"));
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].arguments.at(0), "KYR.WyrdanPlugin.ShowStatusMessage");

  MessageHandler::postStatusMessage(u"no such severity", static_cast<Severity>(4));

  const auto shown = host.statusBar().messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, u"Tr\u00e4ger fehlt");
  EXPECT_EQ(shown[1].severity, kyr::orla::appfw::SeverityError);
  EXPECT_TRUE(host.statusBar().errors().empty()) << host.statusBar().errors().front();

  MessageHandler::showMessage(Zol::ZolResult_24_8(42), kyr::orla::appfw::SeverityWarning, true);
  MessageHandler::showMessage(Zol::ZolResult_24_8(43), kyr::orla::appfw::SeverityInfo, false);
  MessageHandler::showMessage(u"saved", kyr::orla::appfw::SeverityInfo, true);
  MessageHandler::showMessage(u"no such severity", static_cast<Severity>(-1), false);

  const auto handed = host.appExecutive().shownMessages();
  ASSERT_EQ(handed.size(), 3u);
  EXPECT_EQ(handed[0].severity, kyr::orla::appfw::SeverityWarning);
  EXPECT_TRUE(handed[0].details);
  EXPECT_EQ(handed[1].resultCode, 43);
  EXPECT_FALSE(handed[1].details);
  EXPECT_EQ(handed[2].text, u"saved");
}

TEST_F(MessagesTest, APopUpTakesCaptionAndButtonFromThePluginTextsUnlessGiven) {
  struct Case {
    Severity severity;
    icu::UnicodeString button;
    icu::UnicodeString extra;
    icu::UnicodeString caption;
    icu::UnicodeString shownCaption;
    icu::UnicodeString shownButton;
  };
  const Case cases[] = {
      {kyr::orla::appfw::SeverityDebug, u"", u"", u"", u"Debug", u"OK"},
      {kyr::orla::appfw::SeverityInfo, u"", u"3 plates", u"", u"Information", u"OK"},
      {kyr::orla::appfw::SeverityWarning, u"Continue", u"", u"", u"Warning", u"Continue"},
      {kyr::orla::appfw::SeverityError, u"", u"", u"Mesher", u"Mesher", u"OK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.severity));
    const std::size_t shownBefore = boxes().size();
    EXPECT_TRUE(
        MessageHandler::showPopMessage(u"Plate 3 has no material", c.severity, c.button, c.extra, c.caption).isOk());
    const auto shown = boxes();
    ASSERT_EQ(shown.size(), shownBefore + 1);
    EXPECT_EQ(shown.back().caption, c.shownCaption);
    EXPECT_EQ(shown.back().message, u"Plate 3 has no material");
    EXPECT_EQ(shown.back().buttonText, c.shownButton);
    EXPECT_EQ(shown.back().informativeText, c.extra);
    EXPECT_EQ(shown.back().detailedText, c.extra);
    EXPECT_TRUE(shown.back().modal);
  }

  host.pluginTexts().setText("UITEXT_OK", u"Verstanden");
  host.guiExecutive().setMessageBoxAnswer(Zol::ZolResult_24_8(7));
  EXPECT_EQ(MessageHandler::showPopMessage(u"again", kyr::orla::appfw::SeverityInfo, {}, {}, {}).getCode(), 7)
      << "the box's answer is the result";
  EXPECT_EQ(boxes().back().buttonText, u"Verstanden") << "each pop-up translates anew";
}

TEST_F(MessagesTest, APopUpShowsNothingInBatchModeWithoutItsServicesOrForAnUnknownSeverity) {
  using kyr::orla::appfw::SeverityInfo;
  const char* const kGui = "kyr.orla.appfw.GuiExecutive";
  const char* const kAppExecutive = "kyr.orla.appfw.AppExecutive";
  const auto pop = [](Severity severity = SeverityInfo) {
    return MessageHandler::showPopMessage(u"Plate 3 has no material", severity, {}, {}, {}).getCode();
  };
  host.appExecutive().setBatchMode(true);
  EXPECT_EQ(pop(), Zol::ZolResult_24_8::kSuccess);
  host.appExecutive().setBatchMode(false);
  EXPECT_EQ(pop(static_cast<Severity>(4)), Zol::ZolResult_24_8::kFailure);
  host.faults().inject(CallPattern::of<kyr::orla::appfw::ZolIGuiExecutiveInterface>("showModalMessageBox"),
                       Fault::errorResult(9), 1);
  EXPECT_EQ(pop(), 9);
  EXPECT_TRUE(boxes().empty());

  host.removeService(kGui);
  ServiceHelper::releaseServices();
  EXPECT_EQ(pop(), Zol::ZolResult_24_8::kFailure);
  host.appExecutive().setBatchMode(true);
  EXPECT_EQ(pop(), Zol::ZolResult_24_8::kSuccess) << "a batch run needs no GUI";
  host.removeService(kAppExecutive);
  ServiceHelper::releaseServices();
  EXPECT_EQ(pop(), Zol::ZolResult_24_8::kFailure);
  EXPECT_TRUE(boxes().empty());
}

}  // namespace
