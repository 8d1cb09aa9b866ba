// A host in a fresh process of the test program, and who holds an object:
// for the tests of logging, of texts and messages, and of services.
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FreshProcess.h"
#include "simhost/SimHost.h"
#include "simhost/testbed/ObjectAccounting.h"
#include "zol/kernel/ZolHoldings.h"

namespace testing_support {

/// Runs `body` on a new host in a fresh process; once the host is gone,
/// nothing may have leaked.
inline void onHostInFreshProcess(const std::function<void(simhost::SimHost&)>& body) {
  testing_support::inFreshProcess([&body] {
    {
      simhost::SimHost host;
      body(host);
    }
    EXPECT_EQ(simhost::ObjectAccounting::leakReport(), "");
  });
}

/// The holders the modules declared for `object`, sorted.
inline std::vector<std::string> holdersOf(const Zol::ZolIService& object) {
  std::vector<std::string> holders;
  for (const Zol::ZolHeldReference& held : Zol::currentHeldReferences_24_8()) {
    if (Zol::isSameObject(Zol::ZolIService(held.object), object)) holders.push_back(held.holder);
  }
  std::sort(holders.begin(), holders.end());
  return holders;
}

}  // namespace testing_support
