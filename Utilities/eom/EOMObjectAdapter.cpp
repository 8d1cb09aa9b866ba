#include "WyrdanPluginUtilities/eom/EOMObjectAdapter.h"

#include <algorithm>
#include <exception>

#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using Zol::EOM::GUIDSequence;
using Zol::EOM::IEOMDependenciesInterface;
using Zol::EOM::IEOMObjectSequence;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EOMPtr = EOMObjectAdapter::EOMPtr;
using PersistentPtr = EOMObjectAdapter::PersistentPtr;
using DependenciesPtr = ZolSmartPointer<IEOMDependenciesInterface>;

DependenciesPtr dependenciesOf(EOMPtr const& object) { return Zol::interfaceCast<IEOMDependenciesInterface>(object); }

// Whether the object's edges may change: its secondary persistent object
// (fetched without asking whether it has one) exists and says so.
bool isEligible(EOMPtr const& object) {
  const PersistentPtr secondary = object->getSecondaryPersistentObject();
  if (!secondary) return false;
  bool eligible = false;
  secondary->isEligible(eligible);
  return eligible;
}

}  // namespace

EOMObjectAdapter::EOMObjectAdapter() = default;

EOMObjectAdapter::EOMObjectAdapter(EOMPtr const& object) { EOMObjectAdapter::setEomObject(object); }

EOMObjectAdapter::EOMObjectAdapter(EOMObjectAdapter const& other) = default;

EOMObjectAdapter& EOMObjectAdapter::operator=(EOMObjectAdapter const& other) = default;

EOMObjectAdapter::~EOMObjectAdapter() = default;

void EOMObjectAdapter::setEomObject(EOMPtr const& object) {
  if (!object) {
    m_object.reset();
    m_stateIsFalse = false;
    return;
  }
  m_object = object;
  m_stateIsFalse = !m_object->getState();
}

EOMPtr EOMObjectAdapter::eomObject() { return m_object; }

icu::UnicodeString EOMObjectAdapter::eomObjectName() {
  icu::UnicodeString name;
  if (m_object) m_object->getName(name);
  return name;
}

void EOMObjectAdapter::setEomObjectName(icu::UnicodeString const& name) {
  if (m_object) m_object->setName(name);
}

icu::UnicodeString EOMObjectAdapter::eomObjectTypeName() {
  icu::UnicodeString typeName;
  if (m_object) m_object->getTypeName(typeName);
  return typeName;
}

PersistentPtr EOMObjectAdapter::persistentObject() {
  if (!m_object) return {};
  if (m_object->hasPrimaryPersistentObject()) return m_object->getPrimaryPersistentObject();
  if (m_object->hasSecondaryPersistentObject()) return m_object->getSecondaryPersistentObject();
  return {};
}

PersistentPtr EOMObjectAdapter::getDpoContainer() {
  const PersistentPtr object = persistentObject();
  if (!object) return {};
  PersistentPtr owner;
  object->getOwner(owner);
  const auto container = Zol::interfaceCast<Zol::PersistenceFW::CAEData::IContainerInterface>(owner);
  if (!container) return {};
  return Zol::interfaceCastOrThrow<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>(container);
}

EOMPtr EOMObjectAdapter::open(GUIDDATA const& guid) {
  try {
    ZolSmartPointer<Zol::EOM::IEOMObjectFactoryInterface> factory = appfw::ServiceCacheAppFrame::eomObjectFactory_;
    EOMPtr object;
    if (factory) factory->open(guid, object);
    return object;
  } catch (...) {
    return {};
  }
}

EOMPtr EOMObjectAdapter::wrap(PersistentPtr const& object) {
  try {
    ZolSmartPointer<Zol::EOM::IEOMObjectFactoryInterface> factory = appfw::ServiceCacheAppFrame::eomObjectFactory_;
    EOMPtr wrapper;
    if (factory) factory->wrap(object, wrapper);
    return wrapper;
  } catch (...) {
    return {};
  }
}

template <class Nodes>
bool EOMObjectAdapter::addUpstream(Nodes const& nodes, Path path) {
  try {
    const DependenciesPtr own = dependenciesOf(m_object);
    if (!own || !isEligible(m_object)) return false;
    std::vector<DependenciesPtr> upstream;
    for (const EOMPtr& node : nodes) {
      DependenciesPtr dependencies = dependenciesOf(node);
      if (dependencies && isEligible(node)) upstream.push_back(std::move(dependencies));
    }
    if (upstream.empty()) return false;
    if (path == Path::Guid) {
      const GUIDSequence guids{m_object->getGUID()};
      for (const DependenciesPtr& dependencies : upstream) dependencies->addDownstreamGUIDs(guids);
    } else {
      for (const DependenciesPtr& dependencies : upstream) dependencies->addDownstreamObject(m_object);
    }
    return true;
  } catch (...) {
    return false;  // what was registered stays: the host has no rollback
  }
}

template <class Nodes>
void EOMObjectAdapter::removeUpstream(Nodes const& nodes, Path path) {
  try {
    if (!m_object || !isEligible(m_object)) return;
    const IEOMObjectSequence self{m_object};
    const GUIDSequence guids = path == Path::Guid ? GUIDSequence{m_object->getGUID()} : GUIDSequence();
    for (const EOMPtr& node : nodes) {
      const DependenciesPtr dependencies = dependenciesOf(node);
      if (!dependencies || !isEligible(node)) continue;
      switch (path) {
        case Path::ObjectSequence:
          dependencies->removeDownstreamObjects(self);
          break;
        case Path::Object:
          dependencies->removeDownstreamObject(m_object);
          break;
        case Path::Guid:
          dependencies->removeDownstreamGUIDs(guids);
          break;
      }
    }
  } catch (...) {
    // Edge removal ends silently at the first host failure.
  }
}

bool EOMObjectAdapter::addUpstreamNodes(std::vector<EOMPtr> const& nodes) { return addUpstream(nodes, Path::Object); }
bool EOMObjectAdapter::addUpstreamNodes(IEOMObjectSequence const& nodes) { return addUpstream(nodes, Path::Object); }
bool EOMObjectAdapter::addUpstreamNodesV2(std::vector<EOMPtr> const& nodes) { return addUpstream(nodes, Path::Guid); }
bool EOMObjectAdapter::addUpstreamNodesV2(IEOMObjectSequence const& nodes) { return addUpstream(nodes, Path::Guid); }
bool EOMObjectAdapter::addUpstreamNode(EOMPtr const& node) { return addUpstreamNodesV2(std::vector<EOMPtr>{node}); }
bool EOMObjectAdapter::addUpstreamNodeV2(EOMPtr const& node) { return addUpstreamNodes(std::vector<EOMPtr>{node}); }

// The downstream forms work from `node`'s side: an adapter of its own, whose
// construction asks the host for the node's state. That query is part of the
// edge operation, so its failure is swallowed like any other.
bool EOMObjectAdapter::addDownstreamNode(EOMPtr const& node) {
  try {
    return EOMObjectAdapter(node).addUpstreamNodes(std::vector<EOMPtr>{m_object});
  } catch (...) {
    return false;
  }
}

bool EOMObjectAdapter::addDownstreamNodeV2(EOMPtr const& node) {
  try {
    return EOMObjectAdapter(node).addUpstreamNodesV2(std::vector<EOMPtr>{m_object});
  } catch (...) {
    return false;
  }
}

bool EOMObjectAdapter::addDownstreamNodes(std::vector<EOMPtr> const& nodes) {
  return std::all_of(nodes.begin(), nodes.end(), [this](const EOMPtr& node) { return addDownstreamNode(node); });
}

void EOMObjectAdapter::removeUpstreamNodes(std::vector<EOMPtr> const& nodes) {
  removeUpstream(nodes, Path::ObjectSequence);
}
void EOMObjectAdapter::removeUpstreamNodes(IEOMObjectSequence const& nodes) { removeUpstream(nodes, Path::Object); }
void EOMObjectAdapter::removeUpstreamNodesV2(std::vector<EOMPtr> const& nodes) { removeUpstream(nodes, Path::Guid); }
void EOMObjectAdapter::removeUpstreamNode(EOMPtr const& node) { removeUpstreamNodesV2(std::vector<EOMPtr>{node}); }
void EOMObjectAdapter::removeUpstreamNodeV2(EOMPtr const& node) { removeUpstreamNodes(std::vector<EOMPtr>{node}); }

void EOMObjectAdapter::removeDownstreamNode(EOMPtr const& node) {
  try {
    EOMObjectAdapter(node).removeUpstreamNodes(std::vector<EOMPtr>{m_object});
  } catch (...) {
    // Swallowed as every edge operation's failure is.
  }
}

void EOMObjectAdapter::removeDownstreamNodeV2(EOMPtr const& node) {
  try {
    EOMObjectAdapter(node).removeUpstreamNodesV2(std::vector<EOMPtr>{m_object});
  } catch (...) {
    // Swallowed as every edge operation's failure is.
  }
}

void EOMObjectAdapter::removeDownstreamNodes(std::vector<EOMPtr> const& nodes) {
  for (const EOMPtr& node : nodes) removeDownstreamNode(node);
}

void EOMObjectAdapter::clearUpstream(icu::UnicodeString const* typeName) {
  try {
    const DependenciesPtr own = dependenciesOf(m_object);
    if (!own || !isEligible(m_object)) return;
    GUIDSequence upstream;
    own->getUpstreamGUIDs(upstream);
    const IEOMObjectSequence self{m_object};
    for (const GUIDDATA& guid : upstream) {
      const EOMPtr node = open(guid);
      const DependenciesPtr dependencies = dependenciesOf(node);
      if (!dependencies) continue;
      if (typeName != nullptr) {
        icu::UnicodeString nodeType;
        node->getTypeName(nodeType);
        if (nodeType != *typeName) continue;
      }
      if (isEligible(node)) dependencies->removeDownstreamObjects(self);
    }
  } catch (...) {
    // Clearing ends silently at the first host failure.
  }
}

void EOMObjectAdapter::clearUpstreamNodes() { clearUpstream(nullptr); }

void EOMObjectAdapter::clearUpstreamNodesbyType(icu::UnicodeString const& typeName) { clearUpstream(&typeName); }

void EOMObjectAdapter::clearDownstreamNodesV2() {
  try {
    const DependenciesPtr own = dependenciesOf(m_object);
    if (!own || !isEligible(m_object)) return;
    GUIDSequence downstream;
    own->getDownstreamGUIDs(downstream);
    own->removeDownstreamGUIDs(downstream);
  } catch (...) {
    // The host's failure ends the clearing.
  }
}

void EOMObjectAdapter::printDepGraph() {}

}  // namespace kyr::orla::plugin::wyrdan
