#include "FaultScene.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "Describe.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/EditEntityHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "simhost/testbed/ObjectAccounting.h"
#include "zol/kernel/ZolException.h"

namespace demo {

namespace {

using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EditEntityHelper;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using simhost::CallPattern;
using simhost::Fault;

std::string thicknessOf(const ZolSmartPointer<simhost::SimEntity>& plate) {
  return "plate 5's thickness: " + describe(plate->attribute("thickness"));
}

// Each line of `text` as a note, after `prefix`, in alphabetical order (the
// accounting lists objects in no fixed order); `empty` when there is none.
void showLines(Transcript& transcript, const std::string& prefix, const std::string& text, const std::string& empty) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  if (lines.empty()) transcript.note(prefix + empty);
  for (const std::string& line : lines) transcript.note(prefix + line);
}

}  // namespace

void faultScene(simhost::SimHost& host, Transcript& transcript) {
  transcript.step("Fault injected: the host's look-up of \"kyr.orla.appfw.Units\" throws a kernel exception, once");
  const auto lookUpUnits =
      CallPattern::of<Zol::Framework::ZolIServiceProviderInterface>("getService").with("kyr.orla.appfw.Units", "");
  host.faults().inject(lookUpUnits, Fault::systemException("look-up failed"), 1);
  transcript.note("getAppFWUnitsService() -> " + describe(ServiceHelper::getAppFWUnitsService()) +
                  ": the look-up swallows the host kernel's exceptions and caches nothing");
  transcript.note("getAppFWUnitsService() -> " + describe(ServiceHelper::getAppFWUnitsService()) +
                  ": asked again, found and cached");

  transcript.step("Fault injected: plate 5's ModifyObjects command answers an error result, once");
  const auto plate = host.model().addEntity(5, 5, 0, u"Plate 5", u"Plate");
  plate->putAttribute("thickness", 2);
  const auto execute = CallPattern::of<kyr::orla::appfw::ICmdCommandInterface>("execute");
  host.faults().inject(execute, Fault::errorResult(), 1);
  EditEntityHelper(plate).setProperties(DataBunch{{"thickness", 6}});
  transcript.note("setProperties() returned: EditEntityHelper drops the host's results; " + thicknessOf(plate));

  transcript.step("Fault injected: the same command throws a kernel exception, once");
  host.faults().inject(execute, Fault::systemException("disk full"), 1);
  try {
    EditEntityHelper(plate).setProperties(DataBunch{{"thickness", 6}});
    transcript.note("setProperties() returned");
  } catch (const Zol::ZolException_24& exception) {
    transcript.note(std::string("setProperties() threw ") + exception.getTypeName() + " \"" + exception.getText() +
                    "\"; " + thicknessOf(plate));
  }

  transcript.step("No fault armed: the command runs");
  EditEntityHelper(plate).setProperties(DataBunch{{"thickness", 6}});
  transcript.note(thicknessOf(plate));
}

void leakCheckScene(Transcript& transcript, ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& forgotten) {
  transcript.step("The host is gone; the reference accounting: what is still alive, and who holds it");
  showLines(transcript, "alive: ", simhost::ObjectAccounting::report(), "(nothing)");
  transcript.note("a named holder keeps its reference on purpose, until the library unloads; no holder: a leak");

  transcript.step("The leak check: ObjectAccounting::leakReport() counts only references nobody declared");
  showLines(transcript, "leaked: ", simhost::ObjectAccounting::leakReport(), "(nothing)");

  transcript.step("The plug-in releases plate 5: the leak report is empty");
  forgotten = nullptr;
  showLines(transcript, "leaked: ", simhost::ObjectAccounting::leakReport(), "(nothing)");
}

}  // namespace demo
