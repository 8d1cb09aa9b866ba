// A sample plug-in session on the simulated host: start-up and the service
// cache, command payloads built with a bunch, a model edit end to end with the
// model browser told of it, the host's events reaching the plug-in's handlers,
// engineering objects linked and generated, the plug-in's log, texts and
// messages, a task run on the host's work thread under a wait cursor and a
// transaction, the model tools, host failures injected into the plug-in's
// calls, and the leak check once the host is gone.
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Describe.h"
#include "DiagnosticsScene.h"
#include "FaultScene.h"
#include "ModelToolsScene.h"
#include "TaskScene.h"
#include "Transcript.h"
#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/EditEntityHelper.h"
#include "WyrdanPluginUtilities/entities/BrowserHelper.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/eom/EOMObjectAdapter.h"
#include "WyrdanPluginUtilities/eom/GenerativeHelper.h"
#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/events/PluginEventManager.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "simhost/SimHost.h"
#include "simhost/services/eom/SimEOM.h"
#include "simhost/testbed/ArgumentText.h"
#include "zol/kernel/ZolStringUtility.h"

namespace {

using demo::describe;
using kyr::orla::plugin::wyrdan::BrowserHelper;
using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EditEntityHelper;
using kyr::orla::plugin::wyrdan::EntConvert;
using kyr::orla::plugin::wyrdan::EOMObjectAdapter;
using kyr::orla::plugin::wyrdan::EventHandler;
using kyr::orla::plugin::wyrdan::GenerativeHelper;
using kyr::orla::plugin::wyrdan::IZolEventHandler;
using kyr::orla::plugin::wyrdan::PluginEventManager;
using kyr::orla::plugin::wyrdan::ServiceHelper;
using Zol::PersistenceFW::CAEData::GUIDDATA;

void serviceCache(simhost::SimHost& host, demo::Transcript& transcript) {
  transcript.step("Plug-in start-up: ServiceHelper::setZolServiceAccess");
  ServiceHelper::setZolServiceAccess(host.serviceAccess());
  transcript.note("asked twice: once for ServiceHelper's own handle (getServiceProvider()),");
  transcript.note("once for the holder every look-up by name goes through");

  transcript.step("First look-up of the GUI executive");
  transcript.note("getGuiExeutive() -> " + describe(ServiceHelper::getGuiExeutive()));

  transcript.step("Second look-up of the same name: served from the cache");
  transcript.note("getGuiExeutive() -> " + describe(ServiceHelper::getGuiExeutive()));

  transcript.step("Three getters, one service name (Zol.EOM.EOMCore): one host look-up");
  transcript.note("getEOMDependencyMgr() -> " + describe(ServiceHelper::getEOMDependencyMgr()));
  transcript.note("getEOMObjectFactory() -> " + describe(ServiceHelper::getEOMObjectFactory()));
  transcript.note("getEOMUtility()       -> " + describe(ServiceHelper::getEOMUtility()));

  transcript.step("Reaching through the host: trash bin, viewport, current model");
  transcript.note("getTrashbin()     -> " + describe(ServiceHelper::getTrashbin()));
  transcript.note("getViewport()     -> " + describe(ServiceHelper::getViewport()));
  transcript.note("getCurrentModel() -> " + describe(ServiceHelper::getCurrentModel()));

  transcript.step("releaseServices(): the next look-up asks the host again");
  ServiceHelper::releaseServices();
  transcript.note("getGuiExeutive() -> " + describe(ServiceHelper::getGuiExeutive()));

  transcript.step("A service the host does not offer is asked for on every call");
  host.removeService("kyr.orla.plugin.motion.SolverService");
  transcript.note("getSolverService() -> " + describe(ServiceHelper::getSolverService()));
  transcript.note("getSolverService() -> " + describe(ServiceHelper::getSolverService()));
}

void parameterBunch(demo::Transcript& transcript) {
  transcript.step("A parameter bunch, converted to the host's list and back");
  DataBunch bunch{{"visible", true}, {"count", 3}};
  bunch.setData("label", Zol::makeZolAny(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger 1")));
  bunch.setData("objects", ServiceHelper::getSelectionManager());
  transcript.note("bunch (key order)   " + describe(bunch));
  const kyr::orla::appfw::CmdParameters list = bunch.toCmdParams();
  transcript.note("toCmdParams()       " + describe(list));
  transcript.note("DataBunch(list)     " + describe(DataBunch(list)));
  const Zol::ZolAny_24_8 any = bunch.toZolAny();
  transcript.note("toZolAny()          " + std::to_string(any.streamSize()) + "-byte stream, " + describe(any));
  transcript.note("DataBunch(any)      " + describe(DataBunch(any)));
}

void showPlates(demo::Transcript& transcript, const std::vector<ZolSmartPointer<simhost::SimEntity>>& plates) {
  for (const auto& plate : plates) {
    std::string attributes;
    for (const auto& [name, value] : plate->attributes()) {
      attributes += (attributes.empty() ? "" : ", ") + name + " = " + describe(value);
    }
    transcript.note(Zol::baseStringUtilityInstance_24_8().stringFromUString(plate->name(), true) + ": " +
                    (attributes.empty() ? "(no attributes)" : attributes));
  }
}

// The simulated browser's entity tab, one node a line.
void showBrowserTree(simhost::SimHost& host, demo::Transcript& transcript) {
  std::istringstream tree(host.modelBrowser().entityTab().render());
  for (std::string line; std::getline(tree, line);) transcript.note("| " + line);
}

std::string listeners(std::size_t count) { return std::to_string(count) + (count == 1 ? " listener" : " listeners"); }

// The plug-in's handler of entity events: tells the transcript what reached it.
class EntityWatcher : public IZolEventHandler {
 public:
  explicit EntityWatcher(demo::Transcript& transcript) : transcript_(transcript) {}
  void handleDomainEvent(long long domainId, Zol::Framework::ZolEvent const& event) override {
    transcript_.note("EntityWatcher::handleDomainEvent(domain #" + std::to_string(domainId) + ", event " +
                     std::to_string(event.eventId) + ", " + describe(event.data) + ")");
  }

 private:
  demo::Transcript& transcript_;
};

void entityEvents(simhost::SimHost& host, demo::Transcript& transcript,
                  const ZolSmartPointer<simhost::SimEntity>& plate) {
  transcript.step("The host's entity domain, and the plug-in's listener that hands events to the registry");
  const std::int64_t entityDomain = host.eventManager().defineDomain("kyr.orla.appfw.Entity");
  host.registerPluginListener(simhost::makePluginListener(
      [](const Zol::Framework::ZolEvent& event) { return EventHandler::instance()->handleEvent(event); }));
  transcript.note("\"kyr.orla.appfw.Entity\" is domain #" + std::to_string(entityDomain));

  transcript.step("The plug-in's own event domain: PluginEventManager finds or creates it");
  PluginEventManager ownEvents;
  transcript.note("PluginEventManager::Domain_Id = #" + std::to_string(PluginEventManager::Domain_Id));

  transcript.step("A handler for entity events: the first one subscribes the plug-in's listener to the domain");
  EntityWatcher watcher(transcript);
  EventHandler::instance()->addDomainEventHandler(EventHandler::getEntityDomainId(), &watcher);
  transcript.note(
      "the default listener first maps every domain that has a subscription of its own (creating those "
      "the host does not know yet), then subscribes the entity domain with its own events");

  transcript.step("The host delivers entity events: those the subscription admits reach the handler");
  const ZolSmartPointer<kyr::orla::appfw::IEntityInterface> entity = plate;
  const std::size_t updated = host.eventManager().deliver({entityDomain, 2, Zol::makeZolAny(entity)});
  transcript.note("event 2 (in the filter) reached " + listeners(updated) + ": the plug-in's and the browser's tab");
  const std::size_t other = host.eventManager().deliver({entityDomain, 4, Zol::makeZolAny(entity)});
  transcript.note("event 4 (not in the filter) reached " + listeners(other) + ": the browser's tab");

  transcript.step("The plug-in publishes into its own domain");
  ownEvents.publishEvent(1, Zol::makeZolAny("model checked"));

  transcript.step("Removing the last handler unsubscribes, as a plug-in does before it unloads");
  EventHandler::instance()->removeAllEventHandler();
  transcript.note("event 2 now reaches " +
                  listeners(host.eventManager().deliver({entityDomain, 2, Zol::makeZolAny(entity)})));
}

void modelEdit(simhost::SimHost& host, demo::Transcript& transcript) {
  transcript.step("The host's model: four plates");
  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
  for (std::uint32_t id = 1; id <= 4; ++id) {
    plates.push_back(
        host.model().addEntity(5, id, 0, icu::UnicodeString::fromUTF8("Plate " + std::to_string(id)), "Plate"));
    plates.back()->putAttribute("thickness", 2);
  }
  showPlates(transcript, plates);
  transcript.note("plate n is the entity (5, n, 0): entity type 5, id n within the type, sub-id 0");

  transcript.step("The model browser is told of the root assembly and of each plate put under it");
  BrowserHelper browser;
  browser.addNode(browser.getRootEntity());
  for (const auto& plate : plates) browser.addNodeToRoot(plate);
  showBrowserTree(host, transcript);

  transcript.step("Select plates 1, 2 and 4 and edit their properties with EditEntityHelper");
  const kyr::orla::appfw::IEntities selection{plates[0], plates[1], plates[3]};
  EditEntityHelper helper(selection);
  helper.setProperties(DataBunch{{"thickness", 4}, {"material", Zol::makeZolAny("steel")}});
  showPlates(transcript, plates);

  transcript.step(
      "BrowserHelper::updateNodes announces the edit; the browser's tab decodes it and refreshes the nodes");
  browser.updateNodes(selection);
  showBrowserTree(host, transcript);

  transcript.step("setAttribute changes the first selected plate only");
  helper.setAttribute("color", Zol::makeZolAny("red"));
  showPlates(transcript, plates);

  transcript.step("The same command posted to the host's work thread, then undone");
  Zol::PersistenceFW::CAEData::EntityReferenceSequence third{plates[2]->reference()};
  DataBunch params;
  params.setData("objects", ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>(
                                EntConvert().toEntRefList(third)));
  params.setData("values", DataBunch{{"thickness", 8}}.toZolAny());
  CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
  transcript.note("invokeAsync() -> code " + std::to_string(invoker.invokeAsync(params).getCode()) +
                  ": the GUI action queued the command on the host's work thread");
  host.workThread().waitIdle();
  transcript.note("the host executed it there (its own calls are not in the journal); then, from the plug-in:");
  transcript.note("getOutputParams() -> " + describe(invoker.getOutputParams()) + ", getReturnValue() -> " +
                  describe(invoker.getReturnValue()));
  showPlates(transcript, {plates[2]});
  invoker.getURCommand()->undo();
  transcript.note("after undo of its undo/redo command:");
  showPlates(transcript, {plates[2]});

  entityEvents(host, transcript, plates[0]);
}

GUIDDATA guidNumbered(std::uint32_t number) {
  GUIDDATA guid;
  guid.Data1 = number;
  return guid;
}

void engineeringObjects(simhost::SimHost& host, demo::Transcript& transcript) {
  transcript.step("Two engineering objects: a bracket and the mesh made from it");
  std::vector<ZolSmartPointer<simhost::SimEOMObject>> objects;
  for (const auto& [name, typeName, number] :
       {std::tuple{u"bracket", u"Part", 0x10u}, std::tuple{u"bracket mesh", u"Mesh", 0x20u}}) {
    objects.push_back(host.addEOMObject(name, typeName, guidNumbered(number)));
    // The data object behind it, which lets its dependencies change.
    auto data = simhost::makeSimObject<simhost::SimPersistentObject>(
        host.context(), Zol::baseStringUtilityInstance_24_8().stringFromUString(name, true) + " data",
        Zol::PersistenceFW::CAEData::EntityReference());
    data->setEligible(true);
    objects.back()->setSecondaryPersistentObject(data);
  }
  const auto& bracket = objects[0];
  const auto& mesh = objects[1];
  const auto nameOf = [&objects](const GUIDDATA& guid) {
    for (const auto& object : objects) {
      if (object->guid() == guid) return Zol::baseStringUtilityInstance_24_8().stringFromUString(object->name(), true);
    }
    return std::string("?");
  };
  // The host's dependency graph as it stands, one edge a line.
  const auto showGraph = [&host, &transcript, &nameOf] {
    const std::string graph = host.dependencyGraph().render(nameOf);
    if (graph.empty()) transcript.note("| (no edges)");
    std::istringstream lines(graph);
    for (std::string line; std::getline(lines, line);) transcript.note("| " + line);
  };
  transcript.note("bracket: GUID " + simhost::argumentText(bracket->guid()));
  transcript.note("bracket mesh: GUID " + simhost::argumentText(mesh->guid()));
  showGraph();

  transcript.step("EOMObjectAdapter(mesh).addUpstreamNode(bracket): the mesh depends on the bracket");
  EOMObjectAdapter meshAdapter(mesh);
  transcript.note(std::string("addUpstreamNode() -> ") + (meshAdapter.addUpstreamNode(bracket) ? "true" : "false"));
  showGraph();

  transcript.step("GenerativeHelper::bulkGenerateObjects({mesh, bracket, mesh}): each once, in GUID order");
  GenerativeHelper::bulkGenerateObjects({mesh, bracket, mesh});
  const std::vector<Zol::EOM::IEOMObjectSequence> generations = host.eomObjectFactory().bulkGenerations();
  std::string order;
  for (const auto& object : generations.back()) {
    order += (order.empty() ? "" : ", ") + nameOf(simhost::guidOf(object));
  }
  transcript.note("the host generated: " + order);

  transcript.step("EOMObjectAdapter(mesh).removeUpstreamNode(bracket): the mesh no longer depends on the bracket");
  meshAdapter.removeUpstreamNode(bracket);
  showGraph();
}

// How to read the transcript, before it starts.
void explainTranscript() {
  std::cout << "\nHow to read it:\n"
               "   == a step of the session; the indented lines below it are what the plug-in saw\n"
               "   host <- Interface.operation(arguments) on object #id: one host call the plug-in made,\n"
               "           on its own thread; [work thread] marks one its code made on the host's work thread\n"
               "   #id: the number the simulated host gave the object as it made it: same number, same object\n"
               "   (5, 1, 0): an entity reference's three words: entity type id, id within the type, sub-id\n";
}

}  // namespace

int main() {
  std::cout << "WyrdanPluginUtilities demo: a plug-in session on the simulated host\n";
  explainTranscript();
  // A reference the plug-in keeps past the host, as a plug-in that forgets
  // to release one does: the leak check at the end names it.
  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> forgotten;
  std::optional<simhost::SimHost> host(std::in_place);
  demo::Transcript transcript(host->journal());

  serviceCache(*host, transcript);
  parameterBunch(transcript);
  modelEdit(*host, transcript);
  engineeringObjects(*host, transcript);
  demo::diagnosticsScene(*host, transcript);
  demo::taskScene(*host, transcript);
  demo::modelToolsScene(*host, transcript);
  demo::faultScene(*host, transcript);

  transcript.step("The plug-in keeps a reference to plate 5 and forgets to release it");
  forgotten = host->model().findEntity(host->model().referenceOf(5, 5, 0));
  transcript.note("its entity reference names the model as its container: the model stays alive too");

  transcript.step("Plug-in shut-down: the service cache released; then the host goes");
  const std::string failures = host->failures().report();
  transcript.note(failures.empty() ? "the host decoded every payload and refused no call"
                                   : "the host could not take:\n" + failures);
  ServiceHelper::releaseServices();
  transcript.detach();
  host.reset();

  demo::leakCheckScene(transcript, forgotten);
  std::cout << "\nDone.\n";
  return 0;
}
