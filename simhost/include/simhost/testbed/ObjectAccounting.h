/// \class simhost::ObjectAccounting
/// Reference accounting of every simulated object of the process: which are
/// alive, how many references each has, and which of those references the
/// plug-in side declares it holds on purpose (the kernel's held-reference
/// report, zol/kernel/ZolHoldings.h: the library's service provider and
/// service cache, for instance). A reference nobody declares is a leak. What
/// an object held on purpose keeps in turn (a held entity's model) is held on
/// purpose too: each simulated object names what it keeps
/// (SimObjectBase::reportHoldings), under "<its name>: <what>".
///
/// \par Threads and exceptions
/// Static only, and thread-safe. Its members throw nothing but
/// std::bad_alloc.
///
/// \code
///   { simhost::SimHost host; ... plug-in code ... }
///   EXPECT_EQ(simhost::ObjectAccounting::leakReport(), "");
/// \endcode
///
/// The reports ask the kernel's held-reference registry first, outside the
/// accounting's lock, since its reporters may touch objects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simhost/SimHostExport.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

class SimObjectBase;

class SIMHOST_EXPORT ObjectAccounting {
 public:
  /// One simulated object alive at the time of the report.
  /// \ingroup simhost_testbed
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct LiveObject {
    /// The object's service name.
    std::string serviceName;
    /// Its reference count.
    std::uint32_t references;
    /// The holders that declare a reference to it, one entry per reference,
    /// in name order.
    std::vector<std::string> heldBy;
  };

  /// Simulated objects alive now, held or not.
  static std::size_t liveCount();
  /// Every simulated object alive now, in no particular order, with its
  /// declared holders.
  static std::vector<LiveObject> liveObjects();
  /// The live objects with more references than their declared holders
  /// account for. Empty when every object still alive is alive only because
  /// something holds it on purpose.
  static std::vector<LiveObject> leaks();
  /// One line per leaked object, "name (references)" or, when some holders
  /// are declared, "name (references, held: holder; holder)"; empty when
  /// nothing leaked.
  static std::string leakReport();
  /// One line per live object, in the same form; empty when none lives.
  static std::string report();

 private:
  /// Every simulated object enters the accounting when made and leaves it
  /// when destroyed.
  friend class SimObjectBase;
  static void add(const SimObjectBase* object);
  static void remove(const SimObjectBase* object);
};

/// @}

}  // namespace simhost
