#include "ModelToolsScene.h"

#include <cstdint>
#include <string>

#include "WyrdanPluginUtilities/commands/ModelHelper.h"
#include "WyrdanPluginUtilities/commands/PluginHelperTool.h"
#include "WyrdanPluginUtilities/services/ProductHelper.h"
#include "kyr/appfw/ModelPersistenceRecords.h"
#include "zol/kernel/ZolStringUtility.h"

namespace demo {

namespace {

using kyr::orla::plugin::wyrdan::ModelHelper;
using kyr::orla::plugin::wyrdan::PluginHelperTool;
using kyr::orla::plugin::wyrdan::ProductHelper;
using simhost::SimAssemblyRep;

std::string utf8(const icu::UnicodeString& text) {
  return Zol::baseStringUtilityInstance_24_8().stringFromUString(text, true);
}

std::string yesNo(bool value) { return value ? "true" : "false"; }

// The assembly's tree, one representation a line, indented by depth.
void showAssembly(Transcript& transcript, const ZolSmartPointer<Zol::EOM::IEOMObjectInterface>& object,
                  const std::string& indent) {
  const auto* state = dynamic_cast<const simhost::SimEOMState*>(object.get());
  std::string line = "| " + indent + utf8(state->name()) + " [" + utf8(state->typeName()) + "]";
  if (const auto part = state->part()) line += " -> part " + utf8(dynamic_cast<simhost::SimEOMState&>(*part).name());
  transcript.note(line);
  if (const auto* assembly = dynamic_cast<const SimAssemblyRep*>(object.get())) {
    for (const auto& child : assembly->childObjects()) showAssembly(transcript, child, indent + "  ");
  }
}

// "event <id> (<model>, <flag>)" of a persistence event.
std::string persistenceEvent(const Zol::Framework::ZolEvent& event) {
  std::string text = "event " + std::to_string(event.eventId);
  if (event.data.getTypeCode() != kyr::orla::appfw::getTC_ModelPersistenceEvent()) return text;
  Zol::ZolInStream_24_8 in = event.data.openStream();
  Zol::ZolTypeCode_24_8 ownType;
  icu::UnicodeString model;
  bool flag = false;
  Zol::marshaller_extract(in, ownType);
  Zol::marshaller_extract(in, model);
  Zol::marshaller_extract(in, flag);
  return text + " (" + utf8(model) + ", " + yesNo(flag) + ")";
}

}  // namespace

void modelToolsScene(simhost::SimHost& host, Transcript& transcript) {
  transcript.step("A small assembly in the model: a frame with a plate, a hinge (pin, leaf), a material, a bolt");
  simhost::SimAssemblyBuilder build(host.context(), host.model(), 60);
  const auto frame = build.assembly(u"Frame");
  build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
  const auto hinge = build.assembly(u"Hinge", frame);
  const auto pin = build.partRep(hinge, u"Pin", u"Part::ConcentratedPartRep");
  build.partRep(hinge, u"Leaf", u"CompPart::ComputationalPartRep");
  frame->addChildObject(host.addEOMObject(u"Steel", u"Material::Isotropic", {}));
  build.partRep(frame, u"Bolt", u"CompPart::FEPartRep");
  showAssembly(transcript, frame, "");

  transcript.step("PluginHelperTool::getAllParts(frame): the parts, depth-first in the assembly's order");
  std::string parts;
  for (const auto& part : PluginHelperTool::getAllParts(frame)) {
    parts += (parts.empty() ? "" : ", ") + utf8(dynamic_cast<simhost::SimEntity&>(*part).name());
  }
  transcript.note("getAllParts(frame) -> " + parts);

  transcript.step("The pin is the part being designed: ProductHelper::isDesignPart compares GUIDs");
  host.model().setCurrentDesignPart(pin->partEntity()->persistentPart());
  transcript.note("isDesignPart(pin) -> " + yesNo(ProductHelper::instance()->isDesignPart(pin)));

  transcript.step("The host's active modes: DRESSUP_MODE and PROBE_MODE");
  host.appExecutive().setActiveModes({"DRESSUP_MODE", "PROBE_MODE"});
  transcript.note("isDressUpMode() -> " + yesNo(PluginHelperTool::isDressUpMode()) + ", isReadonlyMode() -> " +
                  yesNo(PluginHelperTool::isReadonlyMode()));

  transcript.step("A host subscriber to \"kyr.orla.appfw.ModelPersistence\"; the open model is \"Gearbox\"");
  host.appExecutive().setCurrentModelName(u"Gearbox");
  const std::int64_t persistenceDomain = *host.eventManager().domainId("kyr.orla.appfw.ModelPersistence");
  const auto subscriber = simhost::makeSimObject<simhost::SimPluginListener>(
      host.context(), "persistence subscriber", [&transcript](const Zol::Framework::ZolEvent& event) {
        transcript.note("the subscriber heard persistence " + persistenceEvent(event));
        return Zol::Framework::EventHandled;
      });
  host.eventManager().addHostListener(persistenceDomain, subscriber, 0);

  transcript.step("ModelHelper::flush(true, true): pending edits and the trash bin, then the model, announced");
  ModelHelper::flush(true, true);
  transcript.note("flush target flushed " + std::to_string(host.appExecutive().flushTarget()->flushes()) +
                  ", trash bin flushed " + std::to_string(host.trashBinService().trashBin()->flushes()) +
                  ", model flushed " + std::to_string(host.modelManagement().flushes()));

  transcript.step("The model management refuses the next flush: only the first event goes out");
  host.modelManagement().setFlushResult(Zol::ZolResult_24_8::kFailure);
  ModelHelper::flush(true, true);
  transcript.note("flushModel() failed: event 3 is held back");

  transcript.step("No model open (\"none\"): flush(true, true) only asks for the model's name");
  host.appExecutive().setCurrentModelName(u"none");
  ModelHelper::flush(true, true);

  transcript.step("The host subscriber leaves");
  host.eventManager().removeListener(persistenceDomain, subscriber);

  transcript.step(
      "PluginHelperTool::registerDefaultNames(): names for new studies and scenarios, in the user's language");
  host.typeRegistry().addType(41, u"StudyManager.TessalyShaperStudy");
  host.typeRegistry().addType(42, u"StudyManager.TessalyShaperScenario");
  host.pluginTexts().setText("TessalyShaperStudy_DefaultName", u"Study");
  host.pluginTexts().setText("TessalyShaperScenario_DefaultName", u"Scenario");
  host.pluginTexts().setText("Scenario_Step_DefaultName", u"Step");
  host.pluginTexts().setText("Scenario_Event_DefaultName", u"Event");
  PluginHelperTool::registerDefaultNames();
  for (const auto& name : host.persistence().defaultNames()) {
    transcript.note("type " + std::to_string(name.typeId) + ": \"" + utf8(name.name) + " 1\", \"" + utf8(name.name) +
                    " 2\", ..." + (name.perOwner ? " counted per owner" : ""));
  }
}

}  // namespace demo
