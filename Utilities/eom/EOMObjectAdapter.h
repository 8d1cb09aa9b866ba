/// \class kyr::orla::plugin::wyrdan::EOMObjectAdapter
/// \ingroup wyrdan_eom
/// One engineering object (EOM object) with its dependency edges, name, type
/// name and persistent objects. An edge from an upstream object u to a
/// downstream object t is kept on u's side, by u's dependencies interface
/// ("Zol.EOM.IEOMDependencies"); downstream operations therefore run on a
/// temporary adapter around the downstream node.
///
/// \par Threads and exceptions
/// Not synchronised: one thread at a time. The edge operations, open() and
/// wrap() swallow every exception; the other members let host exceptions
/// pass to the caller.
///
/// \code
///   EOMObjectAdapter part(EOMObjectAdapter::open(partGuid));
///   part.addUpstreamNodes({sketch, material});   // part depends on both
///   part.clearUpstreamNodesbyType(u"Sketch");
/// \endcode
///
/// Two ways to record an edge: the object path (the downstream object is
/// handed over) and the GUID path (its GUID is, "V2" in the bulk names). The
/// single-node upstream forms are crossed: addUpstreamNode takes the GUID
/// path, addUpstreamNodeV2 the object path. An edge changes only when both
/// ends are eligible: their secondary persistent object exists and says so.
/// Edge operations report nothing beyond the bool of the add forms and
/// swallow every exception, keeping what was registered before it; that
/// includes the state query the downstream forms make when they wrap `node`
/// in an adapter of its own.
#pragma once

#include <vector>

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/eom/IEOMObjectFactory.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EOMObjectAdapter {
 public:
  /// An engineering object of the host.
  using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;
  /// A persistent object of the host.
  using PersistentPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>;

  /// No object; no host call.
  EOMObjectAdapter();
  /// As setEomObject(object).
  EOMObjectAdapter(EOMPtr const& object);  // NOLINT: implicit
  ///@{

  /// Shares the other's object and copies its noted state; no host call.
  EOMObjectAdapter(EOMObjectAdapter const& other);
  EOMObjectAdapter& operator=(EOMObjectAdapter const& other);
  ///@}
  /// Releases the held object.
  virtual ~EOMObjectAdapter();

  /// Holds `object` and notes the inverse of its state query (a host call;
  /// nothing reads the note back); an empty object releases the held one.
  /// The query's exception passes to the caller, `object` already held.
  virtual void setEomObject(EOMPtr const& object);
  /// The held object (a new reference); empty when none is held. No host
  /// call.
  EOMPtr eomObject();
  /// The object's name; empty without an object.
  virtual icu::UnicodeString eomObjectName();
  /// Renames the object; nothing without one.
  virtual void setEomObjectName(icu::UnicodeString const& name);
  /// The object's type name; empty without an object.
  virtual icu::UnicodeString eomObjectTypeName();
  /// The primary persistent object when the object says it has one, else the
  /// secondary when it says so, else empty (also without an object).
  PersistentPtr persistentObject();
  /// The owner of persistentObject() when that owner is a container
  /// ("Zol.PersistenceFW.CAEData.IContainer"); otherwise empty. Throws
  /// Zol::ZolSystemException_24 when the container is not a persistent object.
  PersistentPtr getDpoContainer();

  /// The object the host's EOM factory (ServiceCacheAppFrame) opens for
  /// `guid`; empty on any failure, an exception of any kind included, and
  /// without a factory.
  static EOMPtr open(Zol::PersistenceFW::CAEData::GUIDDATA const& guid);
  /// The EOM object the host's EOM factory wraps `object` in; empty on any
  /// failure, an exception of any kind included, and without a factory.
  static EOMPtr wrap(PersistentPtr const& object);

  // Edges.

  ///@{

  /// Each eligible node records the held object downstream (object path).
  /// True when at least one eligible node did; false on no object, no
  /// dependencies, an ineligible object, no eligible node, or an exception
  /// (the nodes before the failing one keep their edge).
  bool addUpstreamNodes(std::vector<EOMPtr> const& nodes);
  bool addUpstreamNodes(Zol::EOM::IEOMObjectSequence const& nodes);
  ///@}

  ///@{

  /// Each eligible node records the held object's GUID downstream (GUID
  /// path). True and false as for addUpstreamNodes.
  bool addUpstreamNodesV2(std::vector<EOMPtr> const& nodes);
  bool addUpstreamNodesV2(Zol::EOM::IEOMObjectSequence const& nodes);
  ///@}
  /// addUpstreamNodesV2({node}): the GUID path.
  bool addUpstreamNode(EOMPtr const& node);
  /// addUpstreamNodes({node}): the object path.
  bool addUpstreamNodeV2(EOMPtr const& node);
  /// The held object becomes an upstream node of `node` (object path): it
  /// records `node` downstream when both are eligible. True when it did.
  bool addDownstreamNode(EOMPtr const& node);
  /// The same through the GUID path: the held object records `node`'s GUID.
  bool addDownstreamNodeV2(EOMPtr const& node);
  /// addDownstreamNode for each node in order, stopping at the first failure,
  /// which it returns (false); true for no nodes.
  bool addDownstreamNodes(std::vector<EOMPtr> const& nodes);

  /// Each eligible node forgets the held object as its downstream (object
  /// path, handing over the sequence {held object}).
  void removeUpstreamNodes(std::vector<EOMPtr> const& nodes);
  /// The same, handing over the held object itself.
  void removeUpstreamNodes(Zol::EOM::IEOMObjectSequence const& nodes);
  /// The same through the GUID path.
  void removeUpstreamNodesV2(std::vector<EOMPtr> const& nodes);
  /// removeUpstreamNodesV2({node}): the GUID path.
  void removeUpstreamNode(EOMPtr const& node);
  /// removeUpstreamNodes({node}): the object path.
  void removeUpstreamNodeV2(EOMPtr const& node);
  /// The held object stops being an upstream node of `node` (object path).
  void removeDownstreamNode(EOMPtr const& node);
  /// The same through the GUID path.
  void removeDownstreamNodeV2(EOMPtr const& node);
  /// removeDownstreamNode for every node in order.
  void removeDownstreamNodes(std::vector<EOMPtr> const& nodes);

  /// Every upstream node (opened by GUID) that is eligible forgets the held
  /// object as its downstream.
  void clearUpstreamNodes();
  /// The same for the upstream nodes whose type name is exactly `typeName`.
  void clearUpstreamNodesbyType(icu::UnicodeString const& typeName);
  /// The held object forgets every downstream GUID, when it is eligible and
  /// has dependencies.
  void clearDownstreamNodesV2();

 private:
  enum class Path { Object, ObjectSequence, Guid };

  /// Adds the held object downstream of every eligible node (Algorithm of
  /// the add forms); `nodes` is a vector or an IEOMObjectSequence.
  // Instantiated inside the library only: not part of what it exports.
  template <class Nodes>
  WYRDAN_NO_EXPORT bool addUpstream(Nodes const& nodes, Path path);
  template <class Nodes>
  WYRDAN_NO_EXPORT void removeUpstream(Nodes const& nodes, Path path);
  void clearUpstream(icu::UnicodeString const* typeName);
  void printDepGraph();

  EOMPtr m_object;
  bool m_stateIsFalse = false;
};

}  // namespace kyr::orla::plugin::wyrdan
