/// \class kyr::orla::plugin::wyrdan::EntityIDSet
/// \ingroup wyrdan_entities
/// The process-wide counter that hands out consecutive entity ids, from 1
/// after load and after each reset().
///
/// \par Threads and exceptions
/// nextID may be called from several threads at once: each call takes its
/// own id. reset and the copy assignment are single atomic stores, but an id
/// handed out while one runs may come before or after it. No host calls;
/// nothing throws.
///
/// \code
///   unsigned int id = EntityIDSet::instance()->nextID();  // 1, then 2, 3, ...
/// \endcode
#pragma once

#include <atomic>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntityIDSet {
 public:
  /// The process-wide counter; it exists from load on, starting at 1.
  static EntityIDSet* instance();

  ///@{

  /// Copies the other's next id.
  EntityIDSet(EntityIDSet const& other) noexcept;
  EntityIDSet& operator=(EntityIDSet const& other);
  ///@}

  /// Returns the next id and counts on; after 4294967295 comes 0.
  unsigned int nextID();
  /// Starts the count at 1 again.
  void reset();

 protected:
  /// Counts from 1. A derived class may set m_nextID, to hand on to
  /// instance() through the copy assignment.
  constexpr EntityIDSet() noexcept = default;
  /// Not virtual: the counter is not deleted through a base pointer.
  ~EntityIDSet() = default;

  /// The id nextID() hands out next.
  std::atomic<unsigned int> m_nextID{1};  // NOLINT(misc-non-private-member-variables-in-classes): for derived classes

 private:
  static EntityIDSet m_instance;
};

}  // namespace kyr::orla::plugin::wyrdan
