// BrowserHelper: announces changes of model entities to the host's model
// browser. Each browser tab listens to one host event domain; the helper
// picks an entity's tab from its type name, switches the visible tab through
// the host's "SwitchMDPView" command, and publishes added, inserted,
// removed, re-parented and updated nodes as events with typed payloads
// (kyr/appfw/ModelBrowserRecords.h). Some operations first change the entity
// (parent, children, an attribute), then announce the change.
//
//   BrowserHelper browser;                      // the model tab by default
//   helper.setProperties(values);               // edit the entities ...
//   browser.updateNodes(selectedEntities);      // ... and tell the browser
//
// The tab of a type name and each tab's domain id are looked up by the first
// construction in the process and kept: construct the first helper while the
// host is up, before helpers are used on several threads. Nothing is logged;
// host results are not examined; a missing host service makes an operation
// stop; host exceptions (the throwing casts included) pass to the caller.
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
    MB_MODEL = 0,
    MB_STUDY = 1,
    MB_AR_ITEMIZATION = 2,
    MB_AR2_OFFENDING_OBJECT = 3,
    MB_NONE = 4,
  };

  /// Default tab MB_MODEL.
  BrowserHelper();
  /// Default tab `defaultTab`: the tab of entities whose type has none of its own.
  BrowserHelper(MBTab defaultTab);  // NOLINT: implicit
  BrowserHelper& operator=(BrowserHelper const& other);
  ~BrowserHelper();

  /// The tab of a type name ("Simulation.Wyrdan.TessalynStudy" and
  /// "Simulation.Wyrdan.TessalynScenario": MB_STUDY, case-sensitive); the
  /// default tab for any other.
  MBTab getMBTab(icu::UnicodeString const& typeName);
  /// The tab of the entity's type name; the default tab for an empty entity.
  MBTab getMBTab(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);

  /// Shows `tab` through "SwitchMDPView" of "KYR.ShellPlugin"; nothing for MB_NONE.
  void showTab(MBTab tab);
  /// With the default tab MB_MODEL, the entity of the current model's root
  /// assembly; otherwise, or without model or assembly, empty.
  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> getRootEntity();

  /// Announces `entity` as added (event 1), in its tab. An empty entity is
  /// announced in the default tab as an empty object.
  void addNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Adds `entity` to `parent`'s children under its name (when `parent` is
  /// not empty), makes `parent` its parent (an empty one clears it), then
  /// announces it. Nothing for an empty entity.
  void addNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity,
               ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& parent);
  /// addNode under getRootEntity().
  void addNodeToRoot(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// addNode with an empty parent, in a helper whose default tab is MB_MODEL.
  static void addToViewport(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces the entities as added (event 9) in the first one's tab.
  void addNodes(kyr::orla::appfw::IEntities const& entities);
  /// Announces the entities as parts made by "CreatePartCommand" (event 9),
  /// always in the model tab.
  void addParts(kyr::orla::appfw::IEntities const& entities);
  /// Announces `entity` as inserted (event 1). Nothing for an empty entity.
  void insertNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces `entity` as removed (event 3), as addNode(entity) does.
  void removeNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces the entities as removed (event 10) in the first one's tab.
  void removeNodes(kyr::orla::appfw::IEntities const& entities);
  /// Makes `newParent` the entity's parent and announces the changed
  /// "parent" attribute. Nothing unless both are non-empty.
  void reparentNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity,
                    ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& newParent);
  /// Announces `entity` as updated (event 2). Nothing for an empty entity.
  void updateNode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);
  /// Announces the entities as updated (event 2) in the first one's tab.
  void updateNodes(kyr::orla::appfw::IEntities const& entities);
  /// Sets the attribute on the entity when `setOnEntity` is true, then
  /// announces its new value (event 2). Nothing for an empty entity or name.
  /// The attribute stays set when a later step throws or stops.
  void updateAttribute(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity, std::string const& name,
                       Zol::ZolAny_24_8 const& value, bool setOnEntity);
  /// Announces a new value of one attribute of the entities (event 2)
  /// without changing them. Nothing for no entities or an empty name.
  void updateNodesAttribute(kyr::orla::appfw::IEntities const& entities, std::string const& name,
                            Zol::ZolAny_24_8 const& value);

 private:
  /// Fills the class's tables when they are empty.
  void initialize();
  /// Publishes event `eventId` with `payload` into the domain of `tab`.
  void publish(MBTab tab, std::int32_t eventId, Zol::ZolAny_24_8 payload);

  MBTab m_defaultTab;

  static std::map<icu::UnicodeString, MBTab> m_typename2mbtab;
  static std::map<MBTab, std::int64_t> m_tabDomainIds;
};

}  // namespace kyr::orla::plugin::wyrdan
