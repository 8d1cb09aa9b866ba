// What the host does around the plug-in, for the tests: it hands events to
// the plug-in's listener, and tells the plug-in what the user selected.
#pragma once

#include <cstdint>
#include <vector>

#include <WyrdanPluginUtilities/events/EventHandler.h>
#include <simhost/SimHost.h>
#include <simhost/services/events/SimEvents.h>
#include <simhost/services/model/SimEntities.h>
#include <zol/kernel/ZolAny.h>
#include <zol/kernel/ZolHoldings.h>

#include "SelectionWatcher.h"

namespace thicken_test {

inline constexpr const char* kSelectionDomain = "kyr.orla.appfw.SelectionManagerEvent";

using Entities = std::vector<ZolSmartPointer<simhost::SimEntity>>;

// The plug-in's listener. In the host it is the plug-in's initializer
// service, which hands every event to the library's handler registry; the
// library keeps the first one it finds for the whole process, so the test
// program makes one, registers it in every host, and names it to the leak
// check as held for the process.
inline const ZolSmartPointer<simhost::SimPluginListener>& pluginListener() {
  static const ZolSmartPointer<simhost::SimPluginListener> listener =
      simhost::makePluginListener([](const Zol::Framework::ZolEvent& event) {
        return kyr::orla::plugin::wyrdan::EventHandler::instance()->handleEvent(event);
      });
  static const Zol::ZolHoldingsRegistration holding(
      "thicken tests", [](Zol::ZolHeldReferences& held) { held.add("plug-in listener", listener); });
  return listener;
}

// The payload of a selection event: the entities' references, as a list the
// host made.
inline Zol::ZolAny_24_8 selectionOf(simhost::SimHost& host, const Entities& entities) {
  std::vector<Zol::PersistenceFW::CAEData::EntityReference> references;
  for (const auto& entity : entities) references.push_back(entity->reference());
  const ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface> list =
      simhost::makeSimObject<simhost::SimEntityReferenceList>(host.context(), references);
  return Zol::makeZolAny(list);
}

// The host tells the plug-in that the user selected `entities`, in the
// selection domain `domainId`.
inline void select(simhost::SimHost& host, std::int64_t domainId, const Entities& entities) {
  host.eventManager().deliver({domainId, thicken::SelectionWatcher::kSelected, selectionOf(host, entities)});
}

// The plate's "thickness", or -1 when it has none.
inline double thicknessOf(const ZolSmartPointer<simhost::SimEntity>& plate) {
  double thickness = -1;
  Zol::extractZolAny(plate->attribute("thickness"), thickness);
  return thickness;
}

}  // namespace thicken_test
