// Reference accounting of every simulated object of the process: which are
// alive, how many references each has, and which of those references the
// plug-in side declares it holds on purpose (the kernel's held-reference
// report, zol/kernel/ZolHoldings.h: the library's service provider and
// service cache, for instance). A reference nobody declares is a leak.
//
//   { simhost::SimHost host; ... plug-in code ... }
//   EXPECT_EQ(simhost::ObjectAccounting::leakReport(), "");
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simhost/SimHostExport.h"

namespace simhost {

class SimObjectBase;

class SIMHOST_EXPORT ObjectAccounting {
 public:
  struct LiveObject {
    std::string serviceName;
    std::uint32_t references;
    /// The holders that declare a reference to it, one entry per reference.
    std::vector<std::string> heldBy;
  };

  /// Simulated objects alive now, held or not.
  static std::size_t liveCount();
  static std::vector<LiveObject> liveObjects();
  /// The live objects with more references than their declared holders
  /// account for. Empty when every object still alive is alive only because
  /// something holds it on purpose.
  static std::vector<LiveObject> leaks();
  /// One line per leaked object, "name (references, held: holder, ...)";
  /// empty when nothing leaked.
  static std::string leakReport();
  /// One line per live object, in the same form; empty when none lives.
  static std::string report();

 private:
  friend class SimObjectBase;
  static void add(const SimObjectBase* object);
  static void remove(const SimObjectBase* object);
};

}  // namespace simhost
