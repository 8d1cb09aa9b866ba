// The fault sweep over the library: one scenario per exported class that
// calls the host, each run with a fault at every host operation and service
// look-up it makes and with each slot of the host service cache empty. A
// finding passes only when a header comment documents it as the library's
// behaviour; the test checks that each named comment says so.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/EditEntityHelper.h"
#include "WyrdanPluginUtilities/commands/ModelHelper.h"
#include "WyrdanPluginUtilities/commands/PluginHelperTool.h"
#include "WyrdanPluginUtilities/commands/ScopeWait.h"
#include "WyrdanPluginUtilities/commands/TaskHelper.h"
#include "WyrdanPluginUtilities/commands/UndoRedoHelper.h"
#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"
#include "WyrdanPluginUtilities/diagnostics/Logger.h"
#include "WyrdanPluginUtilities/diagnostics/MessageHandler.h"
#include "WyrdanPluginUtilities/diagnostics/ScopeLog.h"
#include "WyrdanPluginUtilities/entities/BrowserHelper.h"
#include "WyrdanPluginUtilities/entities/EOMCompare.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/entities/EntityCompare.h"
#include "WyrdanPluginUtilities/entities/EntityEquanPred.h"
#include "WyrdanPluginUtilities/entities/EntityFastCompare.h"
#include "WyrdanPluginUtilities/entities/EntityHashCompare.h"
#include "WyrdanPluginUtilities/entities/EntityTypeID.h"
#include "WyrdanPluginUtilities/entities/EntityW2Compare.h"
#include "WyrdanPluginUtilities/entities/POCompare.h"
#include "WyrdanPluginUtilities/eom/EOMObjectAdapter.h"
#include "WyrdanPluginUtilities/eom/GenerativeHelper.h"
#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "WyrdanPluginUtilities/events/EventListener.h"
#include "WyrdanPluginUtilities/events/PluginEventManager.h"
#include "WyrdanPluginUtilities/services/PluginEnv.h"
#include "WyrdanPluginUtilities/services/ProductHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "simhost/testbed/Environment.h"
#include "simhost/testbed/FaultSweep.h"
#include "support/DataBunchChecks.h"
#include "support/EventTest.h"
#include "support/SimHostTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using testing_support::intOf;
namespace wyrdan = kyr::orla::plugin::wyrdan;
using simhost::SweepFault;
using simhost::SweepMode;
using simhost::SweepOutcome;
using simhost::SweepRun;

// Records what a handler of the test's receives.
struct CountingHandler : wyrdan::IZolEventHandler {
  void handleDomainEvent(long long, Zol::Framework::ZolEvent const&) override { ++events; }
  int events = 0;
};

// The library started as a plug-in starts it, and stopped as it stops.
void startLibrary(simhost::SimHost& host) {
  host.registerPluginListener(testing_support::pluginListener());
  wyrdan::ServiceHelper::setZolServiceAccess(host.serviceAccess());
  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> provider;
  host.serviceAccess()->getServiceProvider(provider);
  wyrdan::LocalStr::initialize(provider);
}

void stopLibrary(simhost::SimHost&) {
  wyrdan::EventHandler::instance()->removeAllEventHandler();
  wyrdan::ServiceHelper::releaseServices();
}

// Plates (5, n, 0) of the host's model.
std::vector<ZolSmartPointer<simhost::SimEntity>> plates(simhost::SimHost& host, std::uint32_t count) {
  std::vector<ZolSmartPointer<simhost::SimEntity>> made;
  for (std::uint32_t id = 1; id <= count; ++id) {
    made.push_back(
        host.model().addEntity(5, id, 0, icu::UnicodeString::fromUTF8("Plate " + std::to_string(id)), u"Plate"));
  }
  return made;
}

// An EOM object whose secondary persistent object lets its edges change.
ZolSmartPointer<simhost::SimEOMObject> engineeringObject(simhost::SimHost& host, const char16_t* name,
                                                         std::uint32_t number) {
  auto made = host.addEOMObject(name, u"Part", testing_support::guidNumber(number));
  auto secondary = simhost::makeSimObject<simhost::SimPersistentObject>(
      host.context(), "secondary " + std::to_string(number), Zol::PersistenceFW::CAEData::EntityReference());
  made->setSecondaryPersistentObject(secondary);
  return made;
}

void addServiceScenarios(simhost::FaultSweep& sweep) {
  sweep.add("ServiceHelper", [](SweepRun& run) {
    const bool gui = static_cast<bool>(wyrdan::ServiceHelper::getGuiExeutive());
    const bool model = static_cast<bool>(wyrdan::ServiceHelper::getCurrentModel());
    const bool bin = static_cast<bool>(wyrdan::ServiceHelper::getTrashbin());
    const bool viewport = static_cast<bool>(wyrdan::ServiceHelper::getViewport());
    if (!run.faulted()) run.check(gui && model && bin && viewport, "every service is found");
  });
  sweep.add("PluginEnv", [](SweepRun& run) {
    run.host().configurationManager().configuration(u"KYR.WyrdanPlugin.Deliverable")->setValue(u"Export", u"/srv");
    wyrdan::PluginEnv environment;
    const std::string value = environment.getEnvValue(u"Export", "");
    run.check(value.empty() || value == "/srv", "a setting reads as itself or not at all");
    if (!run.faulted()) run.check(environment.isEnvExist(u"Export"), "the setting is there");
  });
  sweep.add("ProductHelper", [](SweepRun& run) {
    simhost::SimAssemblyBuilder build(run.host().context(), run.host().model(), 40);
    const auto frame = build.assembly(u"Frame");
    const auto plate = build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
    const auto bolt = build.partRep(frame, u"Bolt", u"CompPart::FEPartRep");
    run.host().model().setCurrentDesignPart(plate->partEntity()->persistentPart());
    wyrdan::ProductHelper& product = *wyrdan::ProductHelper::instance();
    const bool orla = product.isOrlaProduct();
    const bool named = product.isProductName(u"Orla Modeler");
    const bool design = product.isDesignPart(plate);
    run.check(!product.isDesignPart(bolt), "another part is not the design part");
    if (!run.faulted()) run.check(orla && named && design, "the product and the design part are recognised");
  });
}

void addDiagnosticsScenarios(simhost::FaultSweep& sweep) {
  sweep.add("LocalStr", [](SweepRun& run) {
    const icu::UnicodeString text = wyrdan::LocalStr("UITEXT_OK", "").getUStr();
    run.check(text == u"OK" || text.isEmpty() || text == u"UITEXT_OK", "the text or its fallback");
    if (!run.faulted()) run.check(text == u"OK", "the plug-in's text");
  });
  sweep.add("MessageHandler", [](SweepRun& run) {
    const std::size_t before = run.host().statusBar().messages().size();
    wyrdan::MessageHandler::postStatusMessage(u"Meshing done", kyr::orla::appfw::SeverityInfo);
    wyrdan::MessageHandler::showMessage(icu::UnicodeString(u"check the mesh"), kyr::orla::appfw::SeverityWarning,
                                        false);
    if (!run.faulted()) run.check(run.host().statusBar().messages().size() == before + 1, "the status bar shows it");
  });
  sweep.add("Logger, ScopeLog and LogHelper", [](SweepRun& run) {
    simhost::setEnvironment("WYRDAN_LOG_FILTER", "0");
    wyrdan::Logger::initialize();
    const std::size_t before = run.host().kernelLogger().lines().size();
    if (wyrdan::Logger::enableDebugLog("mesher")) wyrdan::ScopeLog(0).stream() << "1824 cells";
    wyrdan::LogHelper::instance()->logMessage(2, "meshed %d of %d plates", 3, 4);
    if (!run.faulted())
      run.check(run.host().kernelLogger().lines().size() == before + 2, "both lines reached the host");
  });
}

void addCommandScenarios(simhost::FaultSweep& sweep) {
  sweep.add("CmdInvoker and EditEntityHelper", [](SweepRun& run) {
    const auto made = plates(run.host(), 3);
    wyrdan::DataBunch params;
    params.setData("objects", ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>(
                                  wyrdan::EntConvert().toEntRefList(
                                      Zol::PersistenceFW::CAEData::EntityReferenceSequence{made[0]->reference()})));
    params.setData("values", wyrdan::DataBunch{{"thickness", 3}}.toZolAny());
    wyrdan::CmdInvoker invoker("ModifyObjects", "KYR.CorePlugin");
    invoker.invoke(params);
    const std::int32_t thickness = intOf(made[0]->attribute("thickness"));
    run.check(thickness == -1 || thickness == 3, "the value is set wholly or not at all");
    wyrdan::EditEntityHelper selection(kyr::orla::appfw::IEntities{made[1], made[2]});
    selection.setProperties(wyrdan::DataBunch{{"thickness", 4}});
    selection.setAttribute("color", Zol::makeZolAny("red"));
    if (!run.faulted()) {
      run.check(thickness == 3, "the command ran");
      run.check(intOf(invoker.getReturnValue()) == 1, "the command's return value reads");
      run.check(intOf(made[2]->attribute("thickness")) == 4, "every entity's property is set");
      run.check(!made[1]->attribute("color").holdsNothing(), "the attribute is set");
    }
  });
  sweep.add("TaskHelper", [](SweepRun& run) {
    const int cursor = run.host().waitCursor().depth();
    bool ran = false;
    try {
      wyrdan::TaskHelper::execteSyncOnWorkThread([&ran] { ran = true; }, true);
    } catch (const Zol::ZolException_24&) {
      run.check(run.faulted(), "the host's exception came with a fault");
    }
    run.host().workThread().waitIdle();
    run.check(run.host().waitCursor().depth() == cursor, "the wait cursor is back where it was");
    if (!run.faulted()) run.check(ran, "the function ran");
  });
  sweep.add("ScopeWait", [](SweepRun& run) {
    const int cursor = run.host().waitCursor().depth();
    const std::size_t before = run.host().transactionBrokerFactory().brokers().size();
    try {
      const wyrdan::ScopeWait wait(true, true);
    } catch (const Zol::ZolException_24&) {
      run.check(run.faulted(), "the host's exception came with a fault");
    }
    run.check(run.host().waitCursor().depth() == cursor, "the wait cursor is back where it was");
    const auto brokers = run.host().transactionBrokerFactory().brokers();
    for (std::size_t made = before; made < brokers.size() && !run.faulted(); ++made) {
      run.check(!brokers[made]->isOpen(), "the transaction begun is ended");
    }
  });
  sweep.add("UndoRedoHelper", [](SweepRun& run) {
    run.host().eomObjectFactory().setTrackingState(false, false);
    const bool tracking = wyrdan::UndoRedoHelper::isEOMTracking();
    const bool undoing = wyrdan::UndoRedoHelper::isUndoRedoCommand();
    if (!run.faulted()) run.check(tracking && !undoing, "tracking, and no undo running");
  });
  sweep.add("ModelHelper", [](SweepRun& run) {
    run.host().appExecutive().setCurrentModelName(u"Bracket");
    const std::size_t before = run.host().persistenceListener().records().size();
    wyrdan::ModelHelper::flush(true, true);
    if (!run.faulted()) {
      run.check(run.host().persistenceListener().records().size() == before + 2, "the flush is announced twice");
    }
  });
  sweep.add("PluginHelperTool", [](SweepRun& run) {
    simhost::SimAssemblyBuilder build(run.host().context(), run.host().model(), 30);
    const auto frame = build.assembly(u"Frame");
    build.partRep(frame, u"Plate", u"CompPart::FEPartRep");
    const auto hinge = build.assembly(u"Hinge", frame);
    build.partRep(hinge, u"Pin", u"Part::ConcentratedPartRep");
    run.host().appExecutive().setActiveModes({"DRESSUP_MODE"});
    run.host().typeRegistry().addType(41, u"StudyManager.TessalyShaperStudy");
    const std::size_t parts = wyrdan::PluginHelperTool::getAllParts(frame).size();
    const bool dressUp = wyrdan::PluginHelperTool::isDressUpMode();
    wyrdan::PluginHelperTool::registerDefaultNames();
    run.check(parts <= 2, "no part twice");
    if (!run.faulted()) run.check(parts == 2 && dressUp, "both parts, and the mode");
  });
}

void addEventScenarios(simhost::FaultSweep& sweep) {
  sweep.add("PluginEventManager", [](SweepRun& run) {
    // The listener outlives the pass, held on purpose: a host that failed to
    // remove it still delivers to it in the next one.
    static int heard = 0;
    static const auto listener = simhost::makePluginListener([](const Zol::Framework::ZolEvent&) {
      ++heard;
      return Zol::Framework::EventHandled;
    });
    static const Zol::ZolHoldingsRegistration holding(
        "sweep scenario", [](Zol::ZolHeldReferences& held) { held.add("subscriber", listener); });
    const int before = heard;
    wyrdan::PluginEventManager events;
    try {
      events.addListener(7, listener);
      events.publishEvent(7, Zol::ZolAny_24_8(1));
    } catch (...) {
      events.removeListener(listener);  // as a plug-in cleans up
      throw;
    }
    events.removeListener(listener);
    events.publishEvent(7, Zol::ZolAny_24_8(2));
    if (!run.faulted()) run.check(heard - before == 1, "the subscriber heard the event, and not after its removal");
  });
  sweep.add("EventHandler", [](SweepRun& run) {
    const long long domain = run.host().eventManager().defineDomain("Test.Sweep");
    CountingHandler handler;
    wyrdan::EventHandler& registry = *wyrdan::EventHandler::instance();
    try {
      registry.addDomainEventHandler(domain, &handler);
      run.host().eventManager().deliver({domain, 1, {}});
      registry.removeDomainEventHandler(domain, &handler);
    } catch (...) {
      registry.removeAllEventHandler();
      throw;
    }
    run.host().eventManager().deliver({domain, 2, {}});
    run.check(handler.events <= 1, "a removed handler hears nothing");
    if (!run.faulted()) run.check(handler.events == 1, "the handler heard the event");
  });
  sweep.add("EventListener", [](SweepRun& run) {
    const long long domain = run.host().eventManager().defineDomain("Test.Listened");
    const auto hostListener = simhost::makePluginListener({});
    const auto subscriptions = [&run, &hostListener, domain] {
      std::size_t count = 0;
      for (const auto& subscription : run.host().eventManager().subscriptions(domain)) {
        if (Zol::isSameObject(subscription.listener, hostListener)) ++count;
      }
      return count;
    };
    wyrdan::EventListener listener(hostListener);
    try {
      listener.listenDomainEvent(domain);
      listener.listenModesDomainEvent(0);
    } catch (...) {
      listener.removeAllListener();
      throw;
    }
    const std::size_t subscribed = subscriptions();
    listener.removeAllListener();
    if (!run.faulted()) run.check(subscribed == 1 && subscriptions() == 0, "subscribed, then not");
  });
}

void addEntityScenarios(simhost::FaultSweep& sweep) {
  sweep.add("entity comparisons", [](SweepRun& run) {
    const auto made = plates(run.host(), 2);
    const auto plain = run.host().model().addEntity(6, 1, 0, u"plain", u"Node", simhost::EntityShape::Plain);
    const auto first = engineeringObject(run.host(), u"first", 1);
    const auto second = engineeringObject(run.host(), u"second", 2);
    const wyrdan::EntityCompare compare;
    const bool same = compare.equals(made[0], made[0]) && wyrdan::EntityW2Compare().equal(made[1], made[1]);
    const bool ordered = compare.lessThan(made[0], made[1]) != compare.lessThan(made[1], made[0]);
    const bool hashed = wyrdan::EntityHashCompare()(made[0]) == wyrdan::EntityHashCompare()(made[0]);
    const bool found = wyrdan::EntityEquanPred(made[1])(made[1]);
    const bool byWords =
        wyrdan::EntityFastCompare().lessThan(made[0], made[1]) && wyrdan::EntityW2Compare().lessThan(plain, made[0]);
    const bool objects = wyrdan::EOMCompare().lessThan(first, second) && !wyrdan::EOMCompare().equals(first, second);
    const auto persistent = first->secondaryPersistentObject();
    const bool samePersistent = wyrdan::POCompare().equals(persistent, persistent);
    if (!run.faulted()) {
      run.check(same && ordered && hashed && found && byWords, "entities order by their words and GUIDs");
      run.check(objects && samePersistent, "objects order by GUID, and each equals itself");
    }
  });
  sweep.add("EntityTypeID", [](SweepRun& run) {
    run.host().typeRegistry().addType(43, u"Shell.Plate");
    const icu::UnicodeString name = wyrdan::EntityTypeID(43).typeName();
    run.check(name.isEmpty() || name == u"Shell.Plate", "the name is the registry's or none");
    if (!run.faulted()) run.check(name == u"Shell.Plate", "the registry's name");
  });
  sweep.add("EntConvert and BrowserHelper", [](SweepRun& run) {
    const auto made = plates(run.host(), 3);
    wyrdan::EntConvert convert;
    const Zol::PersistenceFW::CAEData::EntityReferenceSequence references{made[0]->reference(), made[2]->reference()};
    const auto entities = convert.toEntities(references);
    const auto list = convert.toEntList(references);
    const auto referenceList = convert.toEntRefList(entities);
    const auto owned =
        convert.toEntRefList(made[0]->asService(), 7, ZolSequence<unsigned int>{1, 2}, ZolSequence<unsigned int>{0, 0});
    wyrdan::BrowserHelper browser;
    browser.addNode(made[0]);
    browser.updateNodes(kyr::orla::appfw::IEntities{made[0], made[1]});
    browser.removeNode(made[0]);
    browser.showTab(wyrdan::BrowserHelper::MB_STUDY);
    if (!run.faulted()) {
      run.check(entities.size() == 2 && list && referenceList && owned, "every conversion gives its result");
      run.check(run.host().modelBrowser().visibleView() == "ModelingPlugin.StudyView", "the study tab shows");
    }
  });
}

void addEOMScenarios(simhost::FaultSweep& sweep) {
  sweep.add("EOMObjectAdapter", [](SweepRun& run) {
    const auto target = engineeringObject(run.host(), u"target", 1);
    const auto source = engineeringObject(run.host(), u"source", 2);
    wyrdan::EOMObjectAdapter adapter(target);
    const bool added = adapter.addUpstreamNode(source);
    adapter.removeUpstreamNode(source);
    if (!run.faulted()) {
      run.check(added && run.host().dependencyGraph().upstreamOf(target->guid()).empty(), "added, then gone again");
    }
  });
  sweep.add("GenerativeHelper", [](SweepRun& run) {
    const auto first = engineeringObject(run.host(), u"first", 1);
    const auto second = engineeringObject(run.host(), u"second", 2);
    const Zol::EOM::IEOMObjectSequence objects{second, first, second};
    const std::size_t before = run.host().eomObjectFactory().bulkGenerations().size();
    wyrdan::GenerativeHelper::addToGenerateList(objects);
    wyrdan::GenerativeHelper::bulkGenerateObjects(objects);
    if (!run.faulted()) {
      run.check(run.host().eomObjectFactory().bulkGenerations().size() == before + 1, "the host generated once");
    }
  });
}

// The findings the library documents, each with the header comment that says
// so: "<header>: <words of its comment>".
void addExpectedFindings(simhost::FaultSweep& sweep) {
  // A service that lacked its interface once stays cached: the next pass
  // meets it again.
  const std::string cached =
      "Utilities/services/ServiceHelper.h: every typed getter finds its host service by name, once, and serves it "
      "from a cache until releaseServices().";
  for (const char* scenario :
       {"ServiceHelper", "PluginEnv", "TaskHelper", "ScopeWait", "UndoRedoHelper", "ModelHelper", "GenerativeHelper"}) {
    sweep.expect({scenario, "service ", SweepFault::ServiceLacksInterface, SweepMode::FirstCallOnly,
                  SweepOutcome::StrayException, cached});
  }
  for (const char* scenario : {"MessageHandler", "TaskHelper", "ScopeWait"}) {
    sweep.expect({scenario, "service ", SweepFault::ServiceLacksInterface, SweepMode::FirstCallOnly,
                  SweepOutcome::CheckFailed, cached});
  }

  // A guard whose constructor threw runs no destructor.
  for (const char* target : {"createTransactionBroker", "beginTransaction"}) {
    sweep.expect({"ScopeWait", target, SweepFault::KernelException, std::nullopt, SweepOutcome::CheckFailed,
                  "Utilities/commands/ScopeWait.h: A guard whose constructor threw undoes nothing: a wait cursor it "
                  "pushed before the throw stays pushed."});
  }
  // Two GUIDs the host fails to give are equal zeros.
  sweep.expect({"ProductHelper", "IPersistentObject.getGUID", SweepFault::ErrorResult, SweepMode::EveryCall,
                SweepOutcome::CheckFailed,
                "Utilities/services/ProductHelper.h: a part whose GUID the host fails to give matches a design part "
                "whose GUID it fails to give too."});

  const std::string keptOnce =
      "Utilities/commands/ModelHelper.h: The model management service and the host's event manager are found on first "
      "use and kept for the rest of the process (until unload), whatever the first look-up found";
  sweep.expect({"ModelHelper", "service kyr.orla.plugin.baseplugin.ModelManagement", SweepFault::MissingService,
                SweepMode::FirstCallOnly, SweepOutcome::CheckFailed, keptOnce});
  sweep.expect({"ModelHelper", "slot eventManager_", SweepFault::EmptyCacheSlot, SweepMode::FirstCallOnly,
                SweepOutcome::CheckFailed, keptOnce});

  const std::string deaf =
      "Utilities/events/EventHandler.h: The listener subscribed is the initializer service as the first of these "
      "look-ups found it, kept for the process: when that look-up found none, the plug-in hears no host event for "
      "good.";
  for (const char* target : {"getService", "WyrdanPluginInitializer", "slot zolServiceAccess_"}) {
    sweep.expect({"EventHandler", target, std::nullopt, SweepMode::FirstCallOnly, SweepOutcome::CheckFailed, deaf});
  }

  sweep.expect({"EntityTypeID", "ITypeRegistry.getTypeName", SweepFault::ErrorResult, SweepMode::FirstCallOnly,
                SweepOutcome::CheckFailed,
                "Utilities/entities/EntityTypeID.h: Whatever the registry answers (an empty name, the id 0) is cached "
                "like any other answer, its result code not examined."});
}

// The comment `documentedBy` names: its words, comment markers and line
// breaks aside, stand in the header.
bool documented(const std::string& documentedBy) {
  const std::size_t colon = documentedBy.find(": ");
  if (colon == std::string::npos) return false;
  std::ifstream header(std::string(WYRDAN_SOURCE_DIR) + "/" + documentedBy.substr(0, colon));
  std::string words;
  for (std::string line; std::getline(header, line);) {
    const std::size_t comment = line.find("///");
    if (comment == std::string::npos) continue;
    words += " " + line.substr(comment + 3);
  }
  std::string collapsed;
  for (const char c : words) {
    if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
    collapsed += c;
  }
  return collapsed.find(documentedBy.substr(colon + 2)) != std::string::npos;
}

TEST(LibrarySweep, EveryFindingIsDocumentedBehaviour) {
  simhost::FaultSweep sweep;
  sweep.setUp(startLibrary);
  sweep.tearDown(stopLibrary);
  addServiceScenarios(sweep);
  addDiagnosticsScenarios(sweep);
  addCommandScenarios(sweep);
  addEventScenarios(sweep);
  addEntityScenarios(sweep);
  addEOMScenarios(sweep);
  addExpectedFindings(sweep);
  const simhost::SweepReport report = sweep.run();
  std::cout << report.table();
  EXPECT_TRUE(report.passed()) << report.table();
  for (const simhost::SweepRow& row : report.findings()) {
    EXPECT_TRUE(documented(row.documentedBy)) << "no such comment: " << row.documentedBy;
  }
}

}  // namespace
