#include "WyrdanPluginUtilities/entities/EntityIDSet.h"

namespace kyr::orla::plugin::wyrdan {

// Constant-initialised: the counter needs no construction step at load.
EntityIDSet EntityIDSet::m_instance;

EntityIDSet* EntityIDSet::instance() { return &m_instance; }

EntityIDSet& EntityIDSet::operator=(EntityIDSet const& other) = default;

unsigned int EntityIDSet::nextID() { return m_nextID++; }

void EntityIDSet::reset() { m_nextID = 1; }

}  // namespace kyr::orla::plugin::wyrdan
