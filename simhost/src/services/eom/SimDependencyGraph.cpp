#include "simhost/services/eom/SimDependencyGraph.h"

#include <algorithm>

#include "simhost/testbed/ArgumentText.h"

namespace simhost {

const char* viaText(SimDependencyGraph::Via via) {
  switch (via) {
    case SimDependencyGraph::Via::Object:
      return "object";
    case SimDependencyGraph::Via::Objects:
      return "objects";
    case SimDependencyGraph::Via::GUIDs:
      return "GUIDs";
  }
  return "?";
}

void SimDependencyGraph::add(const GUIDDATA& upstream, const GUIDDATA& downstream, Via via) {
  std::lock_guard<std::mutex> lock(mutex_);
  changes_.push_back(Change{true, upstream, downstream, via});
  const bool known = std::any_of(edges_.begin(), edges_.end(), [&](const Edge& edge) {
    return edge.upstream == upstream && edge.downstream == downstream;
  });
  if (!known) edges_.push_back(Edge{upstream, downstream, via});
}

bool SimDependencyGraph::remove(const GUIDDATA& upstream, const GUIDDATA& downstream, Via via) {
  std::lock_guard<std::mutex> lock(mutex_);
  changes_.push_back(Change{false, upstream, downstream, via});
  auto it = std::find_if(edges_.begin(), edges_.end(),
                         [&](const Edge& edge) { return edge.upstream == upstream && edge.downstream == downstream; });
  if (it == edges_.end()) return false;
  edges_.erase(it);
  return true;
}

void SimDependencyGraph::clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  edges_.clear();
  changes_.clear();
}

std::vector<SimDependencyGraph::Edge> SimDependencyGraph::edges() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return edges_;
}

std::vector<SimDependencyGraph::Change> SimDependencyGraph::changes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return changes_;
}

std::vector<GUIDDATA> SimDependencyGraph::upstreamOf(const GUIDDATA& guid) const {
  std::vector<GUIDDATA> found;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Edge& edge : edges_) {
    if (edge.downstream == guid) found.push_back(edge.upstream);
  }
  return found;
}

std::vector<GUIDDATA> SimDependencyGraph::downstreamOf(const GUIDDATA& guid) const {
  std::vector<GUIDDATA> found;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const Edge& edge : edges_) {
    if (edge.upstream == guid) found.push_back(edge.downstream);
  }
  return found;
}

std::string SimDependencyGraph::render(const std::function<std::string(const GUIDDATA&)>& nameOf) const {
  const auto name = [&nameOf](const GUIDDATA& guid) { return nameOf ? nameOf(guid) : argumentText(guid); };
  std::string text;
  for (const Edge& edge : edges()) {
    text += name(edge.upstream) + " -> " + name(edge.downstream) + " (by " + viaText(edge.addedBy) + ")\n";
  }
  return text;
}

}  // namespace simhost
