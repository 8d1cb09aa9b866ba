#include "simhost/services/browser/SimModelBrowser.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

#include "kyr/appfw/ModelBrowserRecords.h"
#include "simhost/testbed/ArgumentText.h"
#include "testbed/ParameterPayload.h"

namespace simhost {

// Defined here as well, so that the DLL exports them: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr const char* SimModelBrowser::kEntityDomain;
constexpr const char* SimModelBrowser::kStudyManagerDomain;
constexpr std::int32_t SimModelBrowser::kListenMode;

using kyr::orla::appfw::CmdParameter;
using kyr::orla::appfw::CmdParameters;
using kyr::orla::appfw::IEntityInterface;
using Zol::Framework::ZolEvent;
using Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface;
using EntityPtr = ZolSmartPointer<IEntityInterface>;

std::string NodeId::text() const {
  return "(" + std::to_string(first) + ", " + std::to_string(second) + ", " + std::to_string(third) + ")";
}

namespace {

const char* kindText(Announcement::Kind kind) {
  switch (kind) {
    case Announcement::Kind::NodeAdded:
      return "node added";
    case Announcement::Kind::NodeInserted:
      return "node inserted";
    case Announcement::Kind::NodesAdded:
      return "nodes added";
    case Announcement::Kind::NodeRemoved:
      return "node removed";
    case Announcement::Kind::NodesRemoved:
      return "nodes removed";
    case Announcement::Kind::NodeUpdated:
      return "node updated";
    case Announcement::Kind::NodesUpdated:
      return "nodes updated";
  }
  return "?";
}

std::string listText(const std::vector<NodeId>& nodes) {
  std::string text = "[";
  for (const NodeId& node : nodes) text += (text.size() > 1 ? ", " : "") + node.text();
  return text + "]";
}

bool isSingleEntity(Announcement::Kind kind) {
  return kind == Announcement::Kind::NodeAdded || kind == Announcement::Kind::NodeRemoved ||
         kind == Announcement::Kind::NodeUpdated;
}

// A payload the tab cannot take; its text becomes the error.
class Undecodable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The record readers, one per field kind of ModelBrowserRecords.h. Each
// reads from the stream in field order; the kernel's reads throw on a
// truncated or malformed stream.

std::uint32_t readWord(Zol::ZolInStream_24_8& in) {
  std::uint32_t word = 0;
  Zol::marshaller_extract(in, word);
  return word;
}

// An object that must be an entity; empty for the empty object.
EntityPtr readEntity(Zol::ZolInStream_24_8& in) {
  Zol::ZolIService object;
  Zol::marshaller_extract(in, object);
  if (!object) return {};
  EntityPtr entity = Zol::interfaceCast<IEntityInterface>(object);
  if (!entity) throw Undecodable("an object that is not an entity stands where an entity belongs");
  return entity;
}

// The entity reference fields: container, then the three words.
EntityReference readReference(Zol::ZolInStream_24_8& in) {
  EntityReference reference;
  Zol::marshaller_extract(in, reference.container);
  reference.first = readWord(in);
  reference.second = readWord(in);
  reference.third = readWord(in);
  return reference;
}

// The tab reads the values whose layout it knows itself (an entity reference
// as its three words, the command context as its number) so that a test sees
// what arrived, not only its size; any other value reads as the journal shows it.
std::string valueText(const Zol::ZolAny_24_8& value) {
  if (value.holdsNothing()) return argumentText(value);
  const Zol::ZolTypeCode_24_8& type = value.getTypeCode();
  Zol::ZolInStream_24_8 in = value.openStream();
  std::string read;
  if (type == Zol::PersistenceFW::CAEData::getTC_EntityReference()) {
    read = NodeId::of(readReference(in)).text();
  } else if (type == kyr::orla::appfw::getTC_CmdContext()) {
    std::int32_t context = 0;
    Zol::marshaller_extract(in, context);
    read = std::to_string(context);
  } else {
    return argumentText(value);
  }
  in.expectEnd();
  return type.getName() + " " + read;
}

std::string valuesText(const CmdParameters& values) {
  std::string text = "[";
  for (const CmdParameter& value : values) {
    text += (text.size() > 1 ? ", " : "") + value.name + " = " + valueText(value.value);
  }
  return text + "]";
}

// A reference list object; `required` lists may not be the empty object.
std::vector<EntityReference> readList(Zol::ZolInStream_24_8& in, bool required) {
  Zol::ZolIService object;
  Zol::marshaller_extract(in, object);
  if (!object) {
    if (required) throw Undecodable("the record has no reference list");
    return {};
  }
  const auto list = Zol::interfaceCast<IEntityReferenceConstListInterface>(object);
  if (!list) throw Undecodable("an object that is not a reference list stands where a list belongs");
  return referencesOf(list);
}

// Named values: a count, then each element's type code, name and value.
CmdParameters readNamedValues(Zol::ZolInStream_24_8& in) {
  const std::uint32_t count = readWord(in);
  CmdParameters values;
  for (std::uint32_t index = 0; index < count; ++index) {
    Zol::ZolTypeCode_24_8 element;
    Zol::marshaller_extract(in, element);
    if (element != kyr::orla::appfw::getTC_CmdParameter()) {
      throw Undecodable("a named value of type " + element.getName() + " instead of kyr.orla.appfw.CmdParameter");
    }
    CmdParameter value;
    Zol::marshaller_extract(in, value.name);
    Zol::marshaller_extract(in, value.value);
    valueText(value.value);  // a value of a layout the tab knows must read whole
    values.push_back(std::move(value));
  }
  return values;
}

std::vector<NodeId> idsOf(const std::vector<EntityReference>& references) {
  std::vector<NodeId> ids;
  ids.reserve(references.size());
  for (const EntityReference& reference : references) ids.push_back(NodeId::of(reference));
  return ids;
}

std::string typeNameOf(const Zol::ZolAny_24_8& payload) {
  return payload.holdsNothing() ? "nothing" : payload.getTypeCode().getName();
}

}  // namespace

std::string Announcement::text() const {
  std::string text = kindText(kind);
  if (isSingleEntity(kind)) return text + " " + (nodes.empty() ? "(no entity)" : nodes.front().text());
  text += " " + listText(nodes) + " " + valuesText(values);
  if (kind == Kind::NodesUpdated) text += " " + listText(moreNodes);
  return text;
}

struct SimModelBrowserTab::Shown {
  NodeId id;
  std::string name = "?";
  std::string typeName = "?";
  std::optional<NodeId> parent;
};

SimModelBrowserTab::SimModelBrowserTab(SimContextPtr context, std::string domainName, std::int64_t domainId,
                                       ZolSmartPointer<SimModel> model)
    : SimObject(std::move(context), "model browser tab " + (domainName.empty() ? std::string("of id 0") : domainName)),
      domainName_(std::move(domainName)),
      domainId_(domainId),
      model_(std::move(model)) {}

// A simulated entity is read directly, not through journaled calls: the
// browser is the host looking at its own model.
SimModelBrowserTab::Shown SimModelBrowserTab::describe(const EntityReference& reference,
                                                       const EntityPtr& entity) const {
  Shown shown;
  shown.id = NodeId::of(reference);
  ZolSmartPointer<SimEntity> simulated(dynamic_cast<SimEntity*>(entity.get()));
  if (!simulated) {
    if (const ZolSmartPointer<SimModel> model = model_.get()) simulated = model->findEntity(reference);
  }
  if (simulated) {
    shown.name = argumentText(simulated->name());
    shown.typeName = argumentText(simulated->typeName());
    const EntityReference parent = simulated->parent();
    if (parent.container) shown.parent = NodeId::of(parent);
  } else if (entity) {
    icu::UnicodeString text;
    if (entity->getName(text).isOk()) shown.name = argumentText(text);
    if (entity->getTypeName(text).isOk()) shown.typeName = argumentText(text);
  }
  return shown;
}

void SimModelBrowserTab::show(const Shown& shown, const CmdParameters* update, bool add) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const Node& node) { return node.id == shown.id; });
  if (it == nodes_.end()) {
    if (!add) return;  // a browser updates only what it shows
    it = nodes_.insert(nodes_.end(), Node{shown.id, {}, {}, {}, {}, 0});
  }
  if (!add) ++it->updates;
  it->name = shown.name;
  it->typeName = shown.typeName;
  it->parent = shown.parent;
  if (update) it->lastUpdate = *update;
}

void SimModelBrowserTab::hide(const NodeId& id) {
  std::lock_guard<std::mutex> lock(mutex_);
  nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(), [&](const Node& node) { return node.id == id; }),
               nodes_.end());
}

// Decodes the whole payload first, so that a malformed one changes nothing.
void SimModelBrowserTab::apply(const ZolEvent& event) {
  const Zol::ZolAny_24_8& payload = event.data;
  const Zol::ZolTypeCode_24_8& type = payload.getTypeCode();
  const bool single = !payload.holdsNothing() && type == Zol::interfaceTypeCode<IEntityInterface>();
  const auto expect = [&](bool matches, const char* what) {
    if (!matches) throw Undecodable("a payload of type " + typeNameOf(payload) + " is not " + what);
  };
  Zol::ZolInStream_24_8 in = payload.openStream();
  Announcement announcement{Announcement::Kind::NodeAdded, {}, {}, {}};
  std::vector<Shown> shown;
  std::vector<Shown> moreShown;
  const auto showEntity = [&](const EntityPtr& entity) {
    if (!entity) return;
    const EntityReference reference = referenceOf(entity);
    announcement.nodes.push_back(NodeId::of(reference));
    shown.push_back(describe(reference, entity));
  };
  const auto showReferences = [&](const std::vector<EntityReference>& references, std::vector<Shown>& into) {
    for (const EntityReference& reference : references) into.push_back(describe(reference, {}));
  };

  switch (event.eventId) {
    case 1:
      expect(single || type == kyr::orla::appfw::getTC_NodeInsertion(), "an entity or an insertion record");
      if (single) {
        showEntity(readEntity(in));
      } else {
        announcement.kind = Announcement::Kind::NodeInserted;
        const EntityReference reference = readReference(in);
        announcement.values = readNamedValues(in);
        announcement.nodes.push_back(NodeId::of(reference));
        showReferences({reference}, shown);
      }
      break;
    case 9: {
      expect(type == kyr::orla::appfw::getTC_NodesAddition(), "an addition record");
      announcement.kind = Announcement::Kind::NodesAdded;
      const std::vector<EntityReference> references = readList(in, true);
      announcement.values = readNamedValues(in);
      announcement.nodes = idsOf(references);
      showReferences(references, shown);
      break;
    }
    case 3:
      expect(single, "an entity");
      announcement.kind = Announcement::Kind::NodeRemoved;
      showEntity(readEntity(in));
      break;
    case 10: {
      expect(type == kyr::orla::appfw::getTC_NodesRemoval(), "a removal record");
      announcement.kind = Announcement::Kind::NodesRemoved;
      const std::uint32_t count = readWord(in);
      for (std::uint32_t index = 0; index < count; ++index) showEntity(readEntity(in));
      announcement.values = readNamedValues(in);
      std::int32_t end = -1;
      Zol::marshaller_extract(in, end);
      if (end != 0) throw Undecodable("the removal record ends with " + std::to_string(end) + ", not 0");
      break;
    }
    case 2:
      expect(single || type == kyr::orla::appfw::getTC_NodesUpdate(), "an entity or an update record");
      if (single) {
        announcement.kind = Announcement::Kind::NodeUpdated;
        showEntity(readEntity(in));
      } else {
        announcement.kind = Announcement::Kind::NodesUpdated;
        const std::vector<EntityReference> first = readList(in, false);
        announcement.values = readNamedValues(in);
        const std::vector<EntityReference> second = readList(in, false);
        announcement.nodes = idsOf(first);
        announcement.moreNodes = idsOf(second);
        showReferences(first, shown);
        showReferences(second, moreShown);
      }
      break;
    default:
      break;  // handleEvent passes announcements only
  }
  in.expectEnd();

  const CmdParameters none;
  switch (announcement.kind) {
    case Announcement::Kind::NodeAdded:
    case Announcement::Kind::NodeInserted:
    case Announcement::Kind::NodesAdded:
      for (const Shown& node : shown) show(node, nullptr, true);
      break;
    case Announcement::Kind::NodeRemoved:
    case Announcement::Kind::NodesRemoved:
      for (const Shown& node : shown) hide(node.id);
      break;
    case Announcement::Kind::NodeUpdated:
      for (const Shown& node : shown) show(node, &none, false);
      break;
    case Announcement::Kind::NodesUpdated:
      for (const Shown& node : shown) show(node, &announcement.values, false);
      for (const Shown& node : moreShown) show(node, nullptr, false);
      break;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  announcements_.push_back(std::move(announcement));
}

Zol::Framework::HandleEventStatus SimModelBrowserTab::handleEvent(const ZolEvent& event) {
  static constexpr std::int32_t kAnnouncements[] = {1, 2, 3, 9, 10};
  if (std::find(std::begin(kAnnouncements), std::end(kAnnouncements), event.eventId) == std::end(kAnnouncements)) {
    return Zol::Framework::EventNotHandled;
  }
  std::string error;
  try {
    apply(event);
    return Zol::Framework::EventHandled;
  } catch (const std::exception& e) {
    error = e.what();
  } catch (...) {
    error = "an exception of unknown type";
  }
  error = "event " + std::to_string(event.eventId) + ": " + error;
  context()->failures.record(serviceName(), error);
  std::lock_guard<std::mutex> lock(mutex_);
  errors_.push_back(std::move(error));
  return Zol::Framework::EventNotHandled;
}

std::vector<SimModelBrowserTab::Node> SimModelBrowserTab::nodes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nodes_;
}

std::optional<SimModelBrowserTab::Node> SimModelBrowserTab::node(const NodeId& id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const Node& node) { return node.id == id; });
  if (it == nodes_.end()) return std::nullopt;
  return *it;
}

std::string SimModelBrowserTab::render() const {
  const std::vector<Node> all = nodes();
  const auto shownAt = [&all](const NodeId& id) {
    return std::find_if(all.begin(), all.end(), [&](const Node& node) { return node.id == id; });
  };
  std::vector<bool> written(all.size(), false);
  std::string text;
  // `written` also stops a cycle of parents from recursing forever.
  std::function<void(std::size_t, std::size_t)> write = [&](std::size_t index, std::size_t depth) {
    if (written[index]) return;
    written[index] = true;
    const Node& node = all[index];
    text += std::string(2 * depth, ' ') + node.name + " [" + node.typeName + "] " + node.id.text();
    if (node.updates > 0) {
      text += ", updated " + std::to_string(node.updates) + (node.updates == 1 ? " time" : " times");
    }
    text += "\n";
    for (std::size_t child = 0; child < all.size(); ++child) {
      if (all[child].parent == node.id) write(child, depth + 1);
    }
  };
  for (std::size_t index = 0; index < all.size(); ++index) {
    const std::optional<NodeId>& parent = all[index].parent;
    if (!parent || shownAt(*parent) == all.end()) write(index, 0);
  }
  // Nodes whose parents form a cycle have no root above them.
  for (std::size_t index = 0; index < all.size(); ++index) write(index, 0);
  return text;
}

std::vector<Announcement> SimModelBrowserTab::announcements() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return announcements_;
}

std::vector<std::string> SimModelBrowserTab::errors() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return errors_;
}

void SimModelBrowserTab::clear() {
  model_.set({});
  std::vector<Node> nodes;
  std::vector<Announcement> announcements;
  std::lock_guard<std::mutex> lock(mutex_);
  nodes.swap(nodes_);
  announcements.swap(announcements_);
  errors_.clear();
}

namespace {

std::vector<ZolSmartPointer<SimModelBrowserTab>> subscribeTabs(const SimContextPtr& context, SimEventManager& events,
                                                               const ZolSmartPointer<SimModel>& model) {
  std::vector<ZolSmartPointer<SimModelBrowserTab>> tabs;
  for (const char* domain : {SimModelBrowser::kEntityDomain, SimModelBrowser::kStudyManagerDomain}) {
    tabs.push_back(makeSimObject<SimModelBrowserTab>(context, domain, events.defineDomain(domain), model));
  }
  tabs.push_back(makeSimObject<SimModelBrowserTab>(context, std::string(), 0, model));
  for (const auto& tab : tabs) events.addHostListener(tab->domainId(), tab, SimModelBrowser::kListenMode);
  return tabs;
}

}  // namespace

const std::vector<std::string>& SimModelBrowser::knownViews() {
  static const std::vector<std::string> views = {
      "ShellPlugin.ModelView",
      "ModelingPlugin.StudyView",
      "ModelingPlugin.PivotDataContext.AnalysisReadiness.Itemization",
      "ModelingPlugin.PivotDataContext.AR2.OffendingObject",
  };
  return views;
}

SimModelBrowser::SimModelBrowser(const SimContextPtr& context, SimEventManager& events,
                                 const ZolSmartPointer<SimModel>& model)
    : tabs_(subscribeTabs(context, events, model)), visibleView_(knownViews().front()) {}

std::string SimModelBrowser::visibleView() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return visibleView_;
}

bool SimModelBrowser::switchView(const std::string& from, const std::string& to) {
  const std::vector<std::string>& views = knownViews();
  const bool known = std::find(views.begin(), views.end(), to) != views.end();
  std::lock_guard<std::mutex> lock(mutex_);
  switches_.push_back(ViewSwitch{from, to, known});
  if (known) visibleView_ = to;
  return known;
}

std::vector<SimModelBrowser::ViewSwitch> SimModelBrowser::viewSwitches() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return switches_;
}

void SimModelBrowser::stop() {
  for (const auto& tab : tabs_) tab->clear();
}

SimSwitchViewCommand::SimSwitchViewCommand(SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
                                           std::shared_ptr<SimRunningCommands> running,
                                           std::shared_ptr<SimModelBrowser> browser)
    : SimCommand(std::move(context), std::move(identity), std::move(running)), browser_(std::move(browser)) {}

Zol::ZolResult_24_8 SimSwitchViewCommand::perform(const CmdParameters& params) {
  internal::ParameterPayload request(params);
  const auto from = request.take<std::string>("fromViewId");
  const auto to = request.take<std::string>("toViewId");
  if (!request.ok()) return refuse(request.problems());
  if (!browser_->switchView(from, to)) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  return {};
}

}  // namespace simhost
