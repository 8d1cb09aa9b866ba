/// \class kyr::orla::plugin::wyrdan::BrowserHelper
/// \ingroup wyrdan_entities
/// Announces changes of model entities to the host's model browser. Each
/// browser tab listens to one host event domain; the helper picks an
/// entity's tab from its type name, switches the visible tab through the
/// host's "SwitchMDPView" command, and publishes added, inserted, removed,
/// re-parented and updated nodes as events with typed payloads
/// (kyr/appfw/ModelBrowserRecords.h). Some operations first change the
/// entity (parent, children, an attribute), then announce the change.
///
/// \par Threads and exceptions
/// Helpers may be constructed and used on several threads at once (a helper
/// is not assigned while another thread uses it). Constructions that meet
/// the shared tables empty at the same time may each look the domains up,
/// but the tables are filled once and every helper reads the same ones; once
/// filled, they are read without a lock and never written again. Host
/// exceptions (the throwing casts' Zol::ZolSystemException_24 included) pass
/// to the caller.
///
/// \code
///   BrowserHelper browser;                                    // the model tab by default
///   EditEntityHelper(selectedEntities).setProperties(values);  // edit the entities ...
///   browser.updateNodes(selectedEntities);                    // ... and tell the browser
/// \endcode
///
/// The tab of a type name and each tab's domain id are looked up by the first
/// construction in the process and kept. Only the model tab
/// ("kyr.orla.appfw.Entity") and the study tab
/// ("KYR.Plugins.ModelingPlugin.StudyManager") have a domain; a domain the
/// host does not know gets the id the look-up before it left (the study tab
/// then shares the model tab's id; the model tab gets 0), and announcements in
/// the two analysis-readiness tabs go to id 0, as every tab without an entry
/// of its own. Nothing is logged; host results are not examined;
/// a missing host service makes an operation stop. Events are published
/// through the host service cache's event manager.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntity.h"
#include "zol/kernel/ZolAny.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT BrowserHelper {
 public:
  /// The browser's tabs. MB_NONE: node operations that would announce in it
  /// do nothing.
  enum MBTab : std::int32_t {
    /// The model tab: view "ShellPlugin.ModelView", domain "kyr.orla.appfw.Entity".
    MB_MODEL = 0,
    /// The study tab: view "ModelingPlugin.StudyView", domain
    /// "KYR.Plugins.ModelingPlugin.StudyManager".
    MB_STUDY = 1,
    /// View "ModelingPlugin.PivotDataContext.AnalysisReadiness.Itemization";
    /// announcements go to domain id 0.
    MB_AR_ITEMIZATION = 2,
    /// View "ModelingPlugin.PivotDataContext.AR2.OffendingObject";
    /// announcements go to domain id 0.
    MB_AR2_OFFENDING_OBJECT = 3,
    /// No tab: nothing is shown or announced.
    MB_NONE = 4,
  };

  /// Default tab MB_MODEL. The first construction in the process fills the
  /// shared tables (two domain look-ups when the host has an event manager);
  /// host exceptions pass to the caller.
  BrowserHelper();
  /// Default tab `defaultTab`: the tab of entities whose type has none of its
  /// own. Fills the shared tables as the default constructor does.
  BrowserHelper(MBTab defaultTab);  // NOLINT: implicit
  /// Copies the default tab; the tables are shared by every helper.
  BrowserHelper& operator=(BrowserHelper const& other);
  /// The shared tables stay for the next helper.
  ~BrowserHelper();

  /// The tab of a type name ("Simulation.Wyrdan.TessalynStudy" and
  /// "Simulation.Wyrdan.TessalynScenario": MB_STUDY, case-sensitive); the
  /// default tab for any other.
  MBTab getMBTab(icu::UnicodeString const& typeName);
  /// The tab of the entity's type name (asked of the entity); the default
  /// tab for an empty entity.
  MBTab getMBTab(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);

  /// Shows `tab` through "SwitchMDPView" of "KYR.ShellPlugin" (option flags
  /// 3 and 1 cleared), with "fromViewId" empty and "toViewId" the tab's view;
  /// nothing for MB_NONE, or when the command cannot be created.
  void showTab(MBTab tab);
  /// With the default tab MB_MODEL, the entity of the current model's root
  /// assembly; otherwise, or without model, assembly or root manager, empty.
  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> getRootEntity();

  /// Announces `entity` as added (event 1, the entity as payload), in its
  /// tab. An empty entity is announced in the default tab as an empty object.
  void addNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Adds `entity` to `parent`'s children under its name (when `parent` is
  /// not empty), makes `parent` its parent (an empty one clears it), then
  /// announces it. Nothing for an empty entity. The changes stay made when a
  /// later step throws.
  void addNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity,
               ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& parent);
  /// addNode under getRootEntity(); with no root entity, addNode with an
  /// empty parent (the entity's parent is cleared).
  void addNodeToRoot(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// addNode with an empty parent, in a helper whose default tab is MB_MODEL.
  static void addToViewport(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces the entities as added (event 9) in the first one's tab, as a
  /// host entity list's references (those the root manager resolves).
  /// Nothing for no entities.
  void addNodes(kyr::orla::appfw::IEntities const& entities);
  /// Announces the entities as parts made by "CreatePartCommand" (event 9),
  /// always in the model tab, as a new reference list of the non-empty ones.
  /// Nothing for no entities or without the reference-list factory.
  void addParts(kyr::orla::appfw::IEntities const& entities);
  /// Announces `entity` as inserted (event 1, an insertion record of its
  /// reference), in its tab. Nothing for an empty entity.
  void insertNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces `entity` as removed (event 3, the entity as payload), as
  /// addNode(entity) does. The entity itself is not changed.
  void removeNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces the entities as removed (event 10) in the first one's tab,
  /// every entity in the record, empty ones included. Nothing for no
  /// entities.
  void removeNodes(kyr::orla::appfw::IEntities const& entities);
  /// Makes `newParent` the entity's parent and announces the changed
  /// "parent" attribute (the new parent's reference, also set on the entity
  /// as its "parent" attribute, see updateAttribute). Nothing unless both
  /// are non-empty.
  void reparentNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity,
                    ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& newParent);
  /// Announces `entity` as updated (event 2, the entity as payload), in its
  /// tab. Nothing for an empty entity.
  void updateNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces the entities as updated (event 2) in the first one's tab, as
  /// a host entity list's references. Nothing for no entities.
  void updateNodes(kyr::orla::appfw::IEntities const& entities);
  /// Sets the attribute on the entity when `setOnEntity` is true, then
  /// announces its new value (event 2) in the entity's tab. Nothing for an
  /// empty entity or name. The attribute stays set when a later step throws
  /// or stops (no selection manager, the tab MB_NONE). Throws
  /// Zol::ZolSystemException_24 when the selection manager service lacks its
  /// interface.
  void updateAttribute(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity, std::string const& name,
                       Zol::ZolAny_24_8 const& value, bool setOnEntity);
  /// Announces a new value of one attribute of the entities (event 2), in
  /// the first one's tab, without changing them. Nothing for no entities, an
  /// empty name or no selection manager. Throws Zol::ZolSystemException_24
  /// when the selection manager service lacks its interface.
  void updateNodesAttribute(kyr::orla::appfw::IEntities const& entities, std::string const& name,
                            Zol::ZolAny_24_8 const& value);

 private:
  /// Fills the class's tables when they are empty; host exceptions leave
  /// them empty.
  void initialize();
  /// Publishes event `eventId` with `payload` into the domain of `tab`.
  void publish(MBTab tab, std::int32_t eventId, Zol::ZolAny_24_8 payload);

  MBTab m_defaultTab;

  static std::map<icu::UnicodeString, MBTab> m_typename2mbtab;
  static std::map<MBTab, std::int64_t> m_tabDomainIds;
};

}  // namespace kyr::orla::plugin::wyrdan
