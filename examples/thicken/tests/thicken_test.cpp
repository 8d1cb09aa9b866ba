// The Thicken plug-in on a simulated host: what it does to the model, the
// host calls it makes, and what it does when the host fails or answers
// oddly.
//
// The library keeps a few host objects for the whole process (the kernel
// logger LogHelper fetches first, the adapter manager the first EntityCompare
// finds), so each test expects a process of its own: ctest runs them that
// way (gtest_discover_tests). Run one by hand with --gtest_filter.
#include <cmath>
#include <cstdint>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <simhost/testbed/Answer.h>
#include <simhost/testbed/FaultPlan.h>
#include <simhost/testing/JournalMatchers.h>
#include <simhost/testing/PluginTest.h>
#include <zol/kernel/ZolException.h>

#include "SelectionWatcher.h"
#include "ThickenCommand.h"
#include "host_side.h"

namespace {

using simhost::Answer;
using simhost::CallPattern;
using simhost::Fault;
using simhost::testing::CallCount;
using simhost::testing::CallsInOrder;
using simhost::testing::HasCall;
using simhost::testing::NoCall;
using ::testing::HasSubstr;
using thicken::SelectionWatcher;
using thicken_test::Entities;
using thicken_test::kSelectionDomain;
using thicken_test::thicknessOf;

using AdapterManager = kyr::orla::appfw::IInterfaceAdapterManagerInterface;
using Command = kyr::orla::appfw::ICmdCommandInterface;
using Entity = kyr::orla::appfw::IEntityInterface;
using EventManager = Zol::Framework::ZolIEventManagerInterface;
using Processor = kyr::orla::appfw::ICmdProcessorInterface;

// A plug-in test whose host knows the plug-in's listener, so that the
// plug-in's handlers hear the host's events.
class ListenedPluginTest : public simhost::testing::PluginTest {
 protected:
  ListenedPluginTest() { host.registerPluginListener(thicken_test::pluginListener()); }
};

// Plates 1 and 2, 2 mm thick, and a node, in a host that knows its selection
// domain; the plug-in's watcher and command, made as the plug-in makes them
// at start-up.
class ThickenTest : public ListenedPluginTest {
 protected:
  ThickenTest() {
    for (const auto& plate : {plate1, plate2}) plate->putAttribute("thickness", Zol::makeZolAny(2.0));
    host.journal().clear();  // from here on, what the test's code calls
  }

  // The user selects `entities`; the journal then holds only what follows.
  void select(const Entities& entities) {
    thicken_test::select(host, selectionDomain, entities);
    host.journal().clear();
  }
  // The payload of a selection event of `entities`.
  Zol::ZolAny_24_8 selectionOf(const Entities& entities) { return thicken_test::selectionOf(host, entities); }

  const std::int64_t selectionDomain = host.eventManager().defineDomain(kSelectionDomain);
  const ZolSmartPointer<simhost::SimEntity> plate1 = host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate");
  const ZolSmartPointer<simhost::SimEntity> plate2 = host.model().addEntity(5, 2, 0, u"Plate 2", u"Plate");
  const ZolSmartPointer<simhost::SimEntity> node = host.model().addEntity(7, 1, 0, u"Node 1", u"Node");
  const SelectionWatcher selection;
  const thicken::ThickenCommand command{selection};
};

TEST_F(ThickenTest, ThickensTheSelectedPlatesOnly) {
  select({plate1, node, plate2});
  EXPECT_EQ(command.run(3.5), 2u);

  EXPECT_EQ(thicknessOf(plate1), 3.5);
  EXPECT_EQ(thicknessOf(plate2), 3.5);
  EXPECT_TRUE(node->attribute("thickness").holdsNothing());
  const auto announced = host.modelBrowser().entityTab().announcements();
  ASSERT_EQ(announced.size(), 1u);
  EXPECT_EQ(announced[0].text(), "nodes updated [(5, 1, 0), (5, 2, 0)] [] []");
  const auto logged = host.kernelLogger().lines();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_THAT(logged[0].text, HasSubstr(">> thicken: 2 plates now 3.5 mm thick"));
  EXPECT_EQ(logged[0].severity, 1);
}

TEST_F(ThickenTest, SendsOneModifyObjectsCommandThenTellsTheBrowser) {
  select({plate1, plate2});
  command.run(3.5);

  const auto create = CallPattern::of<Processor>("createCommand").with("KYR.CorePlugin", "ModifyObjects");
  const auto execute = CallPattern::of<Command>("execute");
  const auto announce = CallPattern::of<EventManager>("publishEvent");
  EXPECT_THAT(host.journal(), CallsInOrder({create, execute, announce}));
  EXPECT_THAT(host.journal(), CallCount(execute, 1));
  EXPECT_THAT(host.journal(), NoCall(CallPattern::of<Entity>("setAttribute")));

  // The command's parameters and the announcement, decoded.
  const simhost::HostCall executed = host.journal().calls(execute).front();
  EXPECT_EQ(executed.payload()["values"]["thickness"].as<double>(), 3.5);
  EXPECT_EQ(executed.payload()["values"].fields().size(), 1u);
  const simhost::HostCall announced = host.journal().calls(announce).front();
  EXPECT_EQ(announced.payload().typeName(), "kyr.orla.appfw.NodesUpdate");
  EXPECT_EQ(announced.payload()["values"].fields().size(), 0u);
}

TEST_F(ThickenTest, KeepsAPlateSelectedTwiceOnceAndForgetsAClearedSelection) {
  select({plate1, plate2});
  select({plate2});
  EXPECT_EQ(selection.selection().size(), 2u);
  host.eventManager().deliver({selectionDomain, SelectionWatcher::kCleared, {}});
  EXPECT_EQ(command.run(3.5), 0u);
  EXPECT_EQ(thicknessOf(plate1), 2.0);
}

TEST_F(ThickenTest, ChangesNothingWithoutAPlateSelectedOrForAThicknessThatIsNotPositive) {
  select({node});
  EXPECT_EQ(command.run(3.5), 0u);
  const auto logged = host.kernelLogger().lines();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_THAT(logged[0].text, HasSubstr(">> thicken: no plate selected"));
  EXPECT_EQ(logged[0].severity, 2);

  select({plate1});
  for (const double refused : {0.0, -1.0, std::nan("")}) EXPECT_EQ(command.run(refused), 0u) << refused;
  EXPECT_THAT(host.journal(), NoCall(CallPattern::of<Processor>("createCommand")));
  EXPECT_THAT(host.journal(), NoCall(CallPattern::of<EventManager>("publishEvent")));
  EXPECT_EQ(thicknessOf(plate1), 2.0);
}

// A plain entity (no engineering object behind it) is thickened all the same.
TEST_F(ThickenTest, ThickensAPlainPlate) {
  const auto plain = host.model().addEntity(5, 3, 0, u"Plate 3", u"Plate", simhost::EntityShape::Plain);
  select({plain});
  EXPECT_EQ(command.run(1.5), 1u);
  EXPECT_EQ(thicknessOf(plain), 1.5);
}

// A host exception while the command runs passes to the host; the plates
// keep their thickness and the browser is told nothing.
TEST_F(ThickenTest, AFailedCommandIsNotAnnounced) {
  select({plate1, plate2});
  host.faults().inject(CallPattern::of<Command>("execute"), Fault::systemException("disk full"), 1);
  EXPECT_THROW(command.run(3.5), Zol::ZolException_24);
  EXPECT_EQ(thicknessOf(plate1), 2.0);
  EXPECT_THAT(host.journal(), HasCall(CallPattern::of<Command>("execute")));
  EXPECT_THAT(host.journal(), NoCall(CallPattern::of<EventManager>("publishEvent")));
}

// The host says plate 2 is a node: the command leaves it alone.
TEST_F(ThickenTest, ThickensOnlyWhatTheHostCallsAPlate) {
  host.faults().answer(
      CallPattern::of<Entity>("getTypeName").on(plate2),
      simhost::answerTo<&Entity::getTypeName>(Answer::success()).output<0>(icu::UnicodeString(u"Node")));
  select({plate1, plate2});
  EXPECT_EQ(command.run(3.5), 1u);
  EXPECT_EQ(thicknessOf(plate1), 3.5);
  EXPECT_EQ(thicknessOf(plate2), 2.0);
}

// The three cases a host may well produce and a test bed rarely does.

// (a) The selection domain has an id above 32 bits: events on it still
// reach the watcher.
TEST_F(ListenedPluginTest, HearsSelectionsOnADomainIdAbove32Bits) {
  const auto wide = host.eventManager().defineDomain(kSelectionDomain, (std::int64_t{1} << 32) + 1);
  const SelectionWatcher watcher;
  thicken_test::select(host, wide, {host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate")});
  EXPECT_EQ(watcher.selection().size(), 1u);
}

// (b) The look-up of the selection domain fails but writes 97: the library
// keeps the id the host wrote (it only looks this domain up, never creates
// it), so the watcher listens on 97.
TEST_F(ListenedPluginTest, ALookUpThatFailsButWrites97PutsTheWatcherOn97) {
  host.faults().answer(CallPattern::of<EventManager>("lookUpDomainId").with(kSelectionDomain),
                       Answer::failure().writing(97));
  const SelectionWatcher watcher;
  thicken_test::select(host, 97, {host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate")});
  EXPECT_EQ(watcher.selection().size(), 1u);
}

// (c) The host calls a plate unequal to itself: the watcher cannot tell it
// was selected already, and keeps it twice.
TEST_F(ThickenTest, AHostThatCallsAPlateUnequalToItselfGetsItTwice) {
  host.faults().answer(CallPattern::of<AdapterManager>("areEqual"), Answer::success().returning(false));
  select({plate1, plate1});
  EXPECT_EQ(selection.selection().size(), 2u);
}

}  // namespace
