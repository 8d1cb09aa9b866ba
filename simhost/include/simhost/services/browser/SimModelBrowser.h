/// \file
/// The simulated model browser. It has one tab per browser domain, each a
/// listener the host subscribes to its domain: "kyr.orla.appfw.Entity",
/// "KYR.Plugins.ModelingPlugin.StudyManager", and the id 0, where
/// announcements for the browser's other tabs arrive. A tab decodes every
/// model-browser payload (kyr/appfw/ModelBrowserRecords.h) into a tree of
/// nodes, keyed by entity words, with the names, type names and parents of
/// the model's entities; it logs each announcement, and records what it
/// cannot decode as an error instead of failing. The browser also shows one
/// view at a time, which the host's "SwitchMDPView" command of
/// "KYR.ShellPlugin" changes.
///
/// \code
///   const auto& tab = host.modelBrowser().entityTab();
///   EXPECT_EQ(tab.render(), "Model [Assembly] (1, 1, 0)\n  Plate 1 [Plate] (5, 1, 0)\n");
///   EXPECT_TRUE(tab.errors().empty());
///   EXPECT_EQ(host.modelBrowser().visibleView(), "ModelingPlugin.StudyView");
/// \endcode
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kyr/appfw/CmdParameters.h"
#include "simhost/services/commands/SimCommands.h"
#include "simhost/services/events/SimEvents.h"
#include "simhost/services/model/SimEntities.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The words of the entity a browser node shows.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Only
/// text() throws, and only std::bad_alloc.
struct SIMHOST_EXPORT NodeId {
  /// The reference's first word.
  std::uint32_t first = 0;
  /// Its second word.
  std::uint32_t second = 0;
  /// Its third word.
  std::uint32_t third = 0;

  /// The words of `reference`; its container is left out.
  static NodeId of(const EntityReference& reference) { return {reference.first, reference.second, reference.third}; }
  /// "(first, second, third)"
  std::string text() const;

  /// All three words equal.
  friend bool operator==(const NodeId& a, const NodeId& b) {
    return a.first == b.first && a.second == b.second && a.third == b.third;
  }
  /// Some word differs.
  friend bool operator!=(const NodeId& a, const NodeId& b) { return !(a == b); }
};

/// What one event told a browser tab.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc.
struct SIMHOST_EXPORT Announcement {
  /// The event and payload kind.
  enum class Kind {
    NodeAdded,     ///< event 1, one entity
    NodeInserted,  ///< event 1, an insertion record
    NodesAdded,    ///< event 9, an addition record
    NodeRemoved,   ///< event 3, one entity
    NodesRemoved,  ///< event 10, a removal record
    NodeUpdated,   ///< event 2, one entity
    NodesUpdated,  ///< event 2, an update record
  };

  /// The event and payload kind.
  Kind kind;
  /// The entity (none for an empty one), the record's reference, the first
  /// list's references, or the removal record's entities, in record order.
  std::vector<NodeId> nodes;
  /// The record's named values; none for a single entity.
  kyr::orla::appfw::CmdParameters values;
  /// The update record's second list.
  std::vector<NodeId> moreNodes;

  /// "nodes updated [(5, 1, 0)] [thickness = Zol.Int32 2] [(5, 2, 0)]": the
  /// kind, the nodes, then the values and more nodes when the record has them.
  std::string text() const;
};

/// One tab: the listener of one domain. Events reach it through the event
/// manager; its handleEvent is not journaled.
///
/// \par Threads and exceptions
/// Thread-safe: events may arrive on several threads at once. handleEvent
/// never throws: what it cannot decode is recorded. Its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimModelBrowserTab final : public SimObject<Zol::Framework::ZolIEventListenerInterface> {
 public:
  /// One node shown.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Node {
    /// The entity's words.
    NodeId id;
    /// UTF-8; "?" when neither the model nor the announced entity names it.
    std::string name;
    /// UTF-8; "?" as for the name.
    std::string typeName;
    /// The entity's parent; nothing when it has none.
    std::optional<NodeId> parent;
    /// The named values of the last update record that listed the node
    /// first; a single-entity update empties them.
    kyr::orla::appfw::CmdParameters lastUpdate;
    /// How many update announcements named the node, in either list.
    std::size_t updates = 0;
  };

  /// The tab of `domainName` (empty for the id 0) with `domainId`, naming
  /// nodes from `model`; it shows nothing yet.
  SimModelBrowserTab(SimContextPtr context, std::string domainName, std::int64_t domainId,
                     ZolSmartPointer<SimModel> model);

  /// Empty for the tab of id 0.
  const std::string& domainName() const noexcept { return domainName_; }
  /// The id the tab listens to.
  std::int64_t domainId() const noexcept { return domainId_; }

  /// The nodes shown, in the order they were first added.
  std::vector<Node> nodes() const;
  /// The node of `id`; nothing when it is not shown.
  std::optional<Node> node(const NodeId& id) const;
  /// The tree, one node a line, "name [type name] (first, second, third)"
  /// and ", updated N time(s)" once an update named it; children indented
  /// by two spaces under their parent; a node whose parent is not shown is a
  /// root. Roots and children in the order added; empty
  /// when no node is shown.
  std::string render() const;
  /// What the tab was told, oldest first.
  std::vector<Announcement> announcements() const;
  /// One text per announcement the tab could not decode, "event <id>: <why>",
  /// oldest first: payloads of another type than the event carries,
  /// malformed streams. Each is also a host failure, with the
  /// tab's service name as its source.
  std::vector<std::string> errors() const;
  /// Drops nodes, announcements, errors and the model (the host's shut-down).
  void clear();

  /// Decodes and applies an announcement (events 1, 2, 3, 9 and 10);
  /// EventHandled, or EventNotHandled when it was recorded as an error (the
  /// whole payload is decoded first, so a payload in error changes no node).
  /// The domain's other events are not the browser's: EventNotHandled, and
  /// nothing recorded. Never throws.
  Zol::Framework::HandleEventStatus handleEvent(const Zol::Framework::ZolEvent& event) override;

 private:
  struct Shown;  // a node and what the model says about it
  Shown describe(const EntityReference& reference,
                 const ZolSmartPointer<kyr::orla::appfw::IEntityInterface>& entity) const;
  void apply(const Zol::Framework::ZolEvent& event);
  /// Shows the node (when `add`, or when it is shown already) with `update`
  /// as its last update's values, when given; without `add` the node counts
  /// an update.
  void show(const Shown& shown, const kyr::orla::appfw::CmdParameters* update, bool add);
  void hide(const NodeId& id);

  const std::string domainName_;
  const std::int64_t domainId_;
  Synchronized<ZolSmartPointer<SimModel>> model_;
  mutable std::mutex mutex_;
  std::vector<Node> nodes_;
  std::vector<Announcement> announcements_;
  std::vector<std::string> errors_;
};

/// The browser: its tabs, subscribed when it is made, and its visible view.
///
/// \par Threads and exceptions
/// Thread-safe. Not a host object: nothing here is journaled, and its members
/// throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimModelBrowser {
 public:
  /// The domain of the model tab.
  static constexpr const char* kEntityDomain = "kyr.orla.appfw.Entity";
  /// The domain of the study tab.
  static constexpr const char* kStudyManagerDomain = "KYR.Plugins.ModelingPlugin.StudyManager";
  /// The subscription mode of the tabs.
  static constexpr std::int32_t kListenMode = 2;

  /// One request to switch the visible view.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct ViewSwitch {
    /// The view the requester said it left.
    std::string from;
    /// The view asked for.
    std::string to;
    bool done;  ///< false: the view was unknown and the visible view stayed
  };

  /// The views the browser knows: "ShellPlugin.ModelView",
  /// "ModelingPlugin.StudyView", and the two analysis-readiness views; the
  /// first is visible at start.
  static const std::vector<std::string>& knownViews();

  /// Defines the browser's domains in `events` and subscribes a tab to each,
  /// and one to the id 0 (host subscriptions, not journaled).
  SimModelBrowser(const SimContextPtr& context, SimEventManager& events, const ZolSmartPointer<SimModel>& model);
  /// Not copyable: its tabs are subscribed to the host.
  SimModelBrowser(const SimModelBrowser&) = delete;
  /// Not assignable, for the same reason.
  SimModelBrowser& operator=(const SimModelBrowser&) = delete;

  /// The tab of "kyr.orla.appfw.Entity" (the browser's tab 0).
  SimModelBrowserTab& entityTab() const noexcept { return *tabs_[0]; }
  /// The tab of "KYR.Plugins.ModelingPlugin.StudyManager" (tab 1).
  SimModelBrowserTab& studyTab() const noexcept { return *tabs_[1]; }
  /// The tab of the id 0, which receives the announcements of the other tabs.
  SimModelBrowserTab& domainZeroTab() const noexcept { return *tabs_[2]; }
  /// The three tabs, in the order above.
  const std::vector<ZolSmartPointer<SimModelBrowserTab>>& tabs() const noexcept { return tabs_; }

  /// The view shown now.
  std::string visibleView() const;
  /// Shows `to` when the browser knows it and returns true; otherwise keeps
  /// the visible view and returns false. Either way the request is recorded.
  bool switchView(const std::string& from, const std::string& to);
  /// Every switch request, oldest first.
  std::vector<ViewSwitch> viewSwitches() const;
  /// Clears every tab (the host's shut-down); the tabs stay subscribed.
  void stop();

 private:
  const std::vector<ZolSmartPointer<SimModelBrowserTab>> tabs_;
  mutable std::mutex mutex_;
  std::string visibleView_;
  std::vector<ViewSwitch> switches_;
};

/// "SwitchMDPView" of "KYR.ShellPlugin": switches the browser to the view
/// named by the string parameter "toViewId", recording "fromViewId" with it.
/// Fails (kFailure) when the view is one the browser does not know; either
/// parameter missing or not a narrow string is refused (SimCommand::refuse).
/// The visible view then stays.
///
/// \par Threads and exceptions
/// As SimCommand's: thread-safe, and its host operations throw what a fault
/// armed for them throws. Parameters it cannot take are refused (a host
/// failure), not thrown.
class SIMHOST_EXPORT SimSwitchViewCommand final : public SimCommand {
 public:
  /// The command of `identity`, switching `browser`'s views.
  SimSwitchViewCommand(SimContextPtr context, kyr::orla::appfw::CmdIdentity identity,
                       std::shared_ptr<SimRunningCommands> running, std::shared_ptr<SimModelBrowser> browser);

 protected:
  /// SimModelBrowser::switchView(fromViewId, toViewId).
  Zol::ZolResult_24_8 perform(const kyr::orla::appfw::CmdParameters& params) override;

 private:
  const std::shared_ptr<SimModelBrowser> browser_;
};

/// @}

}  // namespace simhost
