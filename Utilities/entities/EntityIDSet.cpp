#include "WyrdanPluginUtilities/entities/EntityIDSet.h"

namespace kyr::orla::plugin::wyrdan {

// Constant-initialised: the counter needs no construction step at load.
EntityIDSet EntityIDSet::m_instance;

EntityIDSet* EntityIDSet::instance() { return &m_instance; }

// The ids only need to be distinct: no other memory is ordered by the counter.
EntityIDSet::EntityIDSet(EntityIDSet const& other) noexcept
    : m_nextID(other.m_nextID.load(std::memory_order_relaxed)) {}

EntityIDSet& EntityIDSet::operator=(EntityIDSet const& other) {
  m_nextID.store(other.m_nextID.load(std::memory_order_relaxed), std::memory_order_relaxed);
  return *this;
}

unsigned int EntityIDSet::nextID() { return m_nextID.fetch_add(1, std::memory_order_relaxed); }

void EntityIDSet::reset() { m_nextID.store(1, std::memory_order_relaxed); }

}  // namespace kyr::orla::plugin::wyrdan
