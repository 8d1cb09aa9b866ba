// simhost_gtest, the GoogleTest support plug-in authors link: the fixture on
// a plug-in scenario, the journal matchers and what their failures say, and
// the fixtures failing a test on an unexpected host failure and on a leak.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/EditEntityHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "simhost/testbed/ObjectAccounting.h"
#include "simhost/testing/JournalMatchers.h"
#include "simhost/testing/PluginTest.h"
#include "zol/kernel/ZolHoldings.h"

namespace {

namespace wyrdan = kyr::orla::plugin::wyrdan;
using kyr::orla::appfw::ICmdCommandInterface;
using kyr::orla::appfw::ICmdProcessorInterface;
using kyr::orla::appfw::IEntityInterface;
using simhost::CallPattern;
using simhost::HostCall;
using simhost::testing::CallCount;
using simhost::testing::CallsInOrder;
using simhost::testing::HasCall;
using simhost::testing::NoCall;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

// Two plates, and the calls that hiding them makes: one "ModifyObjects"
// command for the whole selection, created, then executed.
class HidePlatesTest : public simhost::testing::PluginTest {
 protected:
  void hidePlates() {
    wyrdan::EditEntityHelper(kyr::orla::appfw::IEntities{plate1, plate2})
        .setProperties(wyrdan::DataBunch{{"visible", false}});
  }

  const ZolSmartPointer<simhost::SimEntity> plate1 = host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate");
  const ZolSmartPointer<simhost::SimEntity> plate2 = host.model().addEntity(5, 2, 0, u"Plate 2", u"Plate");
  const CallPattern createModify =
      CallPattern::of<ICmdProcessorInterface>("createCommand").with("KYR.CorePlugin", "ModifyObjects");
  const CallPattern execute = CallPattern::of<ICmdCommandInterface>("execute");
};

TEST_F(HidePlatesTest, MatchersFindTheModifyObjectsCommandAndRejectWhatWasNotCalled) {
  EXPECT_EQ(host.journal().size(), 0u) << "the fixture starts the library with an empty journal";
  EXPECT_THAT(host.journal(), NoCall(createModify));
  EXPECT_THAT(host.journal(), Not(HasCall(execute)));
  EXPECT_THAT(host.journal(), Not(CallsInOrder({createModify})));
  hidePlates();

  EXPECT_THAT(host.journal(), Not(NoCall(createModify)));
  EXPECT_THAT(host.journal(), Not(CallCount(createModify, 2)));
  EXPECT_THAT(host.journal(), CallsInOrder({createModify, execute}));
  EXPECT_THAT(host.journal(), Not(CallsInOrder({execute, createModify})));
  EXPECT_THAT(host.journal(), NoCall(CallPattern::of<IEntityInterface>("setAttribute").on(plate1)));

  // A snapshot, or the records one pattern selects, match alike.
  EXPECT_THAT(host.journal().calls(), CallsInOrder({createModify, execute}));
  EXPECT_THAT(host.journal().calls(execute), NoCall(createModify));
  EXPECT_EQ(plate2->attribute("visible"), Zol::makeZolAny(false));
}

// A journal written by hand, so that the messages below are known exactly.
HostCall hostCall(std::string interfaceName, std::string operation, std::vector<std::string> arguments,
                  std::string objectName = {}, std::uint64_t objectId = 0) {
  HostCall call;
  call.interfaceName = std::move(interfaceName);
  call.operation = std::move(operation);
  call.arguments = std::move(arguments);
  call.objectName = std::move(objectName);
  call.objectId = objectId;
  return call;
}

std::vector<HostCall> sampleCalls() {
  return {hostCall("kyr.Test.IA", "open", {"one"}, "object A", 7), hostCall("kyr.Test.IB", "close", {}),
          hostCall("kyr.Test.IA", "open", {"two"}, "object A", 7)};
}

const char* const kSampleListing =
    "; the journal's 3 calls:\n"
    "  1. kyr.Test.IA.open(one) on object A #7\n"
    "  2. kyr.Test.IB.close()\n"
    "  3. kyr.Test.IA.open(two) on object A #7";

template <class Matcher>
std::string explain(const Matcher& matcher, const std::vector<HostCall>& calls) {
  ::testing::StringMatchResultListener listener;
  ::testing::ExplainMatchResult(matcher, calls, &listener);
  return listener.str();
}

template <class Matcher>
std::string describe(const Matcher& matcher, bool negation = false) {
  return ::testing::DescribeMatcher<const std::vector<HostCall>&>(matcher, negation);
}

TEST(CallPatternText, ShowsWhatThePatternFixesAndPrintsInGoogleTestMessages) {
  EXPECT_EQ(CallPattern("kyr.Test.IA").toString(), "kyr.Test.IA.*(...)");
  EXPECT_EQ(CallPattern::of<Zol::Framework::ZolIEventManagerInterface>("lookUpDomainId")
                .with("Test.Domain")
                .on(12)
                .toString(),
            "Zol.Framework.ZolIEventManager.lookUpDomainId(Test.Domain) on #12");
  EXPECT_EQ(CallPattern("kyr.Test.IA", "open").with(std::string("a"), 4, true).containing("4").toString(),
            "kyr.Test.IA.open(a, 4, true) containing \"4\"");
  // GoogleTest prints calls, patterns and journals as their text.
  const std::vector<HostCall> calls = sampleCalls();
  EXPECT_EQ(::testing::PrintToString(calls[0]), "kyr.Test.IA.open(one) on object A #7");
  EXPECT_EQ(::testing::PrintToString(CallPattern("kyr.Test.IA", "open").on(7)), "kyr.Test.IA.open(...) on #7");
  simhost::CallJournal journal;
  for (const HostCall& call : calls) journal.record(call);
  EXPECT_EQ(::testing::PrintToString(journal), "the call journal (3 calls)");
}

TEST(JournalMatcherMessages, EachNamesItsPatternsSaysWhichCallsMatchedAndListsTheCalls) {
  const auto closeNow = HasCall(CallPattern("kyr.Test.IB", "close").with("now"));
  EXPECT_EQ(describe(closeNow), "has a host call matching kyr.Test.IB.close(now)");
  EXPECT_EQ(describe(closeNow, true), "has no host call matching kyr.Test.IB.close(now)");
  EXPECT_EQ(explain(closeNow, sampleCalls()), std::string("which has no such call") + kSampleListing);
  EXPECT_EQ(explain(HasCall(CallPattern("kyr.Test.IA").on(7)), sampleCalls()),
            std::string("whose calls 1 and 3 match") + kSampleListing);
  EXPECT_EQ(explain(closeNow, {}), "which has no such call; the journal is empty");

  const auto open = NoCall(CallPattern("kyr.Test.IA", "open").containing("two"));
  EXPECT_EQ(describe(open), "has no host call matching kyr.Test.IA.open(...) containing \"two\"");
  EXPECT_EQ(explain(open, sampleCalls()), std::string("whose call 3 matches") + kSampleListing);

  const auto twice = CallCount(CallPattern("kyr.Test.IA", "open"), 1);
  EXPECT_EQ(describe(twice, true), "has host calls matching kyr.Test.IA.open(...) in a number that isn't equal to 1");
  EXPECT_EQ(explain(twice, sampleCalls()), std::string("which has 2 such calls (calls 1 and 3)") + kSampleListing);
  EXPECT_EQ(explain(CallCount(CallPattern("kyr.Test.IC"), 0), sampleCalls()),
            std::string("which has 0 such calls") + kSampleListing);

  const CallPattern openOne = CallPattern("kyr.Test.IA", "open").with("one");
  const CallPattern openTwo = CallPattern("kyr.Test.IA", "open").with("two");
  const CallPattern close = CallPattern("kyr.Test.IB", "close");

  const auto wrongOrder = CallsInOrder({openOne, openTwo, close});
  EXPECT_EQ(describe(wrongOrder),
            "has host calls matching these patterns in this order, other calls allowed between:\n"
            "  1. kyr.Test.IA.open(one)\n"
            "  2. kyr.Test.IA.open(two)\n"
            "  3. kyr.Test.IB.close(...)");
  EXPECT_EQ(explain(wrongOrder, sampleCalls()),
            std::string("where pattern 3, kyr.Test.IB.close(...), matches no call after call 3, which pattern 2 "
                        "matched (it matches only call 2)") +
                kSampleListing);
  EXPECT_EQ(explain(CallsInOrder({CallPattern("kyr.Test.IC"), close}), sampleCalls()),
            std::string("where pattern 1, kyr.Test.IC.*(...), matches no call") + kSampleListing);
  EXPECT_EQ(explain(CallsInOrder({openOne, close, openTwo}), sampleCalls()),
            std::string("where calls 1, 2 and 3 match the patterns in order") + kSampleListing);
  // The earliest fitting call is taken, so a later pattern still finds its call.
  EXPECT_THAT(sampleCalls(), CallsInOrder({CallPattern("kyr.Test.IA"), CallPattern("kyr.Test.IA", "open")}));
  EXPECT_THAT(sampleCalls(), Not(CallsInOrder({close, close})));
  EXPECT_THAT(std::vector<HostCall>(), CallsInOrder({}));

  // A failed expectation prints the journal and the explanation.
  simhost::CallJournal journal;
  for (const HostCall& call : sampleCalls()) journal.record(call);
  EXPECT_NONFATAL_FAILURE(
      EXPECT_THAT(journal, HasCall(CallPattern("kyr.Test.IB", "open"))),
      "Value of: journal\n"
      "Expected: has a host call matching kyr.Test.IB.open(...)\n"
      "  Actual: the call journal (3 calls) (of type simhost::CallJournal), which has no such call; "
      "the journal's 3 calls:\n"
      "  1. kyr.Test.IA.open(one) on object A #7\n");
}

// The fixtures as a test of a fixture built on them sees them: what they
// report at the end, given back by failuresOf.
using simhost::testing::failuresOf;
using simhost::testing::HostTest;
using simhost::testing::PluginTest;

TEST(PluginTestFixture, FailsOnAHostFailureTheTestDidNotExpect) {
  const simhost::testing::LeakCheck leakCheck;
  EXPECT_THAT(failuresOf<PluginTest>(
                  [](PluginTest& test) { test.host.failures().record("status bar", "payload of the wrong type"); }),
              ElementsAre(AllOf(HasSubstr("the host could not take what it was sent"),
                                HasSubstr("status bar: payload of the wrong type"))));
  EXPECT_THAT(failuresOf<HostTest>([](HostTest& test) {
                test.host.failures().record("command KYR.CorePlugin.ModifyObjects", "no such parameter");
              }),
              ElementsAre(HasSubstr("command KYR.CorePlugin.ModifyObjects: no such parameter")));
  EXPECT_THAT(failuresOf<HidePlatesTest>([](HidePlatesTest& test) {
                test.host.failures().expect("wrong type");
                test.host.failures().record("status bar", "payload of the wrong type");
              }),
              IsEmpty());
}

TEST(PluginTestFixture, FailsOnAReferenceKeptPastTheHost) {
  const simhost::testing::LeakCheck leakCheck;
  ZolSmartPointer<simhost::SimEntity> kept;
  EXPECT_THAT(failuresOf<PluginTest>(
                  [&kept](PluginTest& test) { kept = test.host.model().addEntity(5, 9, 0, u"Plate 9", u"Plate"); }),
              ElementsAre(AllOf(HasSubstr("simulated objects outlived the test"), HasSubstr("entity (5, 9, 0) (1)"))));
  kept = nullptr;
  EXPECT_EQ(simhost::ObjectAccounting::leakReport(), "");

  // What leaked before the fixture began is not its failure.
  kept = simhost::SimHost().model().addEntity(5, 8, 0, u"Plate 8", u"Plate");
  EXPECT_THAT(failuresOf<HostTest>(), IsEmpty());
  kept = nullptr;
}

bool cachesTheGuiExecutive() {
  for (const Zol::ZolHeldReference& held : Zol::currentHeldReferences_24_8()) {
    if (held.holder == "ServiceHelper: cached kyr.orla.appfw.GuiExecutive") return true;
  }
  return false;
}

TEST(PluginTestFixture, EmptiesTheServiceCacheAtTheEnd) {
  const simhost::testing::LeakCheck leakCheck;
  EXPECT_THAT(failuresOf<PluginTest>([](PluginTest&) {
                EXPECT_TRUE(wyrdan::ServiceHelper::getGuiExeutive());
                EXPECT_TRUE(cachesTheGuiExecutive());
              }),
              IsEmpty());
  EXPECT_FALSE(cachesTheGuiExecutive());
}

}  // namespace
