// Reference accounting of every simulated object of the process: which are
// alive and how many references each holds.
//
//   { simhost::SimHost host; ... }
//   EXPECT_EQ(simhost::ObjectAccounting::liveCount(), 0u) << simhost::ObjectAccounting::report();
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
  };

  static std::size_t liveCount();
  static std::vector<LiveObject> liveObjects();
  /// One line per live object, "name (references)"; empty when none lives.
  static std::string report();

 private:
  friend class SimObjectBase;
  static void add(const SimObjectBase* object);
  static void remove(const SimObjectBase* object);
};

}  // namespace simhost
