/// \file
/// The host's dependency graph of engineering objects: edges from an upstream
/// GUID to a downstream GUID, as the EOM objects' IEOMDependencies operations
/// add and remove them, with a log of every such request. One per host
/// (SimContext::dependencies); tests and the demo read and print it.
///
/// \code
///   part->addDownstreamObject(mesh);   // through Zol::EOM::IEOMDependenciesInterface
///   EXPECT_EQ(host.dependencyGraph().downstreamOf(part->guid()), std::vector<GUIDDATA>{mesh->guid()});
///   std::cout << host.dependencyGraph().render();
/// \endcode
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "simhost/SimHostExport.h"
#include "zol/persistence/EntityReference.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

using Zol::PersistenceFW::CAEData::GUIDDATA;

/// The edges between engineering objects' GUIDs, and the log of requests:
/// the host's own access, not journaled.
///
/// \par Threads and exceptions
/// Thread-safe. Its members throw nothing but std::bad_alloc; render() also
/// passes on the exception of `nameOf`.
class SIMHOST_EXPORT SimDependencyGraph {
 public:
  /// Which operation asked: one object, a list of objects, or a list of GUIDs.
  enum class Via { Object, Objects, GUIDs };

  /// One edge: `downstream` depends on `upstream`.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it. Never
  /// throws.
  struct Edge {
    /// The GUID depended on.
    GUIDDATA upstream;
    /// The GUID that depends on it.
    GUIDDATA downstream;
    /// The kind of request that first added the edge.
    Via addedBy;
  };

  /// One request to add or remove an edge, whether or not it changed the graph.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it. Never
  /// throws.
  struct Change {
    bool added;  ///< false: a removal
    /// The edge's upstream GUID.
    GUIDDATA upstream;
    /// The edge's downstream GUID.
    GUIDDATA downstream;
    /// The kind of request.
    Via via;
  };

  /// Adds the edge `upstream` -> `downstream` and logs the request. An edge
  /// that is already there keeps its place and how it was first added.
  void add(const GUIDDATA& upstream, const GUIDDATA& downstream, Via via);
  /// Removes the edge and logs the request; false when there was no such edge.
  bool remove(const GUIDDATA& upstream, const GUIDDATA& downstream, Via via);
  /// Drops every edge and the log.
  void clear();

  /// The edges, in the order they were first added.
  std::vector<Edge> edges() const;
  /// Every add and remove request, oldest first.
  std::vector<Change> changes() const;
  /// The GUIDs `guid` depends on, in edge order; empty when none.
  std::vector<GUIDDATA> upstreamOf(const GUIDDATA& guid) const;
  /// The GUIDs that depend on `guid`, in edge order; empty when none.
  std::vector<GUIDDATA> downstreamOf(const GUIDDATA& guid) const;

  /// One line per edge, "upstream -> downstream (by object|objects|GUIDs)",
  /// each GUID written by `nameOf` (argumentText() when empty); empty when
  /// there is no edge.
  std::string render(const std::function<std::string(const GUIDDATA&)>& nameOf = {}) const;

 private:
  mutable std::mutex mutex_;
  std::vector<Edge> edges_;
  std::vector<Change> changes_;
};

/// "object", "objects" or "GUIDs".
SIMHOST_EXPORT const char* viaText(SimDependencyGraph::Via via);

/// @}

}  // namespace simhost
