// The fixture of event tests: a library test whose host knows the plug-in's
// listener, which hands each delivered event to the handler registry. The
// library keeps the first listener it finds for the whole process, so the
// test program makes one and registers it in every host; it names that
// holding to the kernel like the library does. Afterwards every handler is
// removed, as a plug-in does before it unloads.
#pragma once

#include <cstddef>

#include "PluginTest.h"
#include "WyrdanPluginUtilities/events/EventHandler.h"
#include "simhost/services/events/SimEvents.h"
#include "zol/kernel/ZolHoldings.h"

namespace testing_support {

/// The test program's plug-in listener, made on first use.
inline const ZolSmartPointer<simhost::SimPluginListener>& pluginListener() {
  static const ZolSmartPointer<simhost::SimPluginListener> listener =
      simhost::makePluginListener([](const Zol::Framework::ZolEvent& event) {
        return kyr::orla::plugin::wyrdan::EventHandler::instance()->handleEvent(event);
      });
  static const Zol::ZolHoldingsRegistration holding(
      "test program", [](Zol::ZolHeldReferences& held) { held.add("plug-in listener", pluginListener()); });
  return listener;
}

/// The calls of the host's event manager to `operation`.
inline simhost::CallPattern managerCall(const char* operation) {
  return simhost::CallPattern::of<Zol::Framework::ZolIEventManagerInterface>(operation);
}

class EventTest : public PluginTest {
 protected:
  EventTest() { host.registerPluginListener(pluginListener()); }
  ~EventTest() override { kyr::orla::plugin::wyrdan::EventHandler::instance()->removeAllEventHandler(); }

  /// The plug-in listener's subscriptions to `id` (the host's model browser
  /// may listen there too).
  std::size_t subscriptions(long long id) {
    std::size_t count = 0;
    for (const auto& subscription : host.eventManager().subscriptions(id)) {
      if (Zol::isSameObject(subscription.listener, pluginListener())) ++count;
    }
    return count;
  }
};

}  // namespace testing_support
