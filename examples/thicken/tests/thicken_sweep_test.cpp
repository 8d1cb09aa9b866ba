// The Thicken plug-in under every host failure its work can meet: the fault
// sweep runs the user's selection and the command once on a clean host, then
// again with a fault at each host operation and service look-up they made,
// each run in a child process of its own. A finding passes only when the
// library documents it; the expectation names the comment that says so.
#include <cstddef>
#include <iostream>
#include <optional>

#include <WyrdanPluginUtilities/events/EventHandler.h>
#include <WyrdanPluginUtilities/services/ServiceHelper.h>
#include <gtest/gtest.h>
#include <simhost/SimHost.h>
#include <simhost/testbed/FaultSweep.h>

#include "SelectionWatcher.h"
#include "ThickenCommand.h"
#include "host_side.h"

namespace {

namespace wyrdan = kyr::orla::plugin::wyrdan;
using simhost::SweepFault;
using simhost::SweepMode;
using simhost::SweepOutcome;
using thicken_test::thicknessOf;

// The user selects two plates and thickens them. The second pass after a
// first-call fault asks for another thickness, so that it shows its own work.
void thickenTwoPlates(simhost::SweepRun& run) {
  simhost::SimHost& host = run.host();
  const auto domain = host.eventManager().defineDomain(thicken_test::kSelectionDomain);
  const auto plate1 = host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate");
  const auto plate2 = host.model().addEntity(5, 2, 0, u"Plate 2", u"Plate");
  const double wanted = run.pass() == 1 ? 3.5 : 4.0;
  const std::size_t announced = host.modelBrowser().entityTab().announcements().size();

  const thicken::SelectionWatcher selection;
  thicken_test::select(host, domain, {plate1, plate2});
  const std::size_t thickened = thicken::ThickenCommand(selection).run(wanted);

  std::size_t changed = 0;
  for (const auto& plate : {plate1, plate2}) changed += thicknessOf(plate) == wanted ? 1u : 0u;
  run.check(changed == thickened, "the command counts the plates it thickened");
  if (!run.faulted()) {
    run.check(thickened == 2, "both plates thickened");
    run.check(host.modelBrowser().entityTab().announcements().size() == announced + 1, "the browser was told");
  }
}

// What the sweep finds that the library documents, with the installed
// header's comment that says so.
void expectDocumentedFindings(simhost::FaultSweep& sweep) {
  // The host's answer to the edit never reaches the plug-in: when the host
  // fails to make the entity list or the command, or the command fails, the
  // plates stay as they were and the command still counts them (and the
  // browser is told of them).
  const char* dropped =
      "WyrdanPluginUtilities/commands/EditEntityHelper.h: Nothing is reported: results are dropped and host "
      "exceptions pass to the caller.";
  for (const char* target : {"IRootManager.makeEntityList", "IEntityList.getEntityReferenceList",
                             "ICmdProcessor.createCommand", "ICmdCommand.execute"}) {
    sweep.expect({"Thicken", target, SweepFault::ErrorResult, std::nullopt, SweepOutcome::CheckFailed, dropped});
  }
  sweep.expect({"Thicken", "slot commandProcessor_", SweepFault::EmptyCacheSlot, std::nullopt,
                SweepOutcome::CheckFailed, dropped});

  // When the first look-up of the plug-in's listener fails, the plug-in
  // hears no selection again in that process.
  const char* deaf =
      "WyrdanPluginUtilities/events/EventHandler.h: The listener subscribed is the initializer service as the first "
      "of these look-ups found it, kept for the process: when that look-up found none, the plug-in hears no host "
      "event for good.";
  for (const char* target : {"getService", "WyrdanPluginInitializer", "slot zolServiceAccess_"}) {
    sweep.expect({"Thicken", target, std::nullopt, SweepMode::FirstCallOnly, SweepOutcome::CheckFailed, deaf});
  }
}

TEST(ThickenSweep, EveryFindingIsDocumentedBehaviour) {
  simhost::FaultSweep sweep;
  sweep.setUp([](simhost::SimHost& host) {
    host.registerPluginListener(thicken_test::pluginListener());
    wyrdan::ServiceHelper::setZolServiceAccess(host.serviceAccess());
  });
  sweep.tearDown([](simhost::SimHost&) {
    wyrdan::EventHandler::instance()->removeAllEventHandler();
    wyrdan::ServiceHelper::releaseServices();
  });
  sweep.add("Thicken", thickenTwoPlates);
  expectDocumentedFindings(sweep);

  const simhost::SweepReport report = sweep.run();
  std::cout << report.table();
  EXPECT_TRUE(report.passed()) << report.table();
}

}  // namespace
