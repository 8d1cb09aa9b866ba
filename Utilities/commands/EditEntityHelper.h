/// \class kyr::orla::plugin::wyrdan::EditEntityHelper
/// \ingroup wyrdan_commands
/// Edits model entities through the host. It collects the entities once, as
/// a host entity-reference list, then sets one attribute on the first of them
/// or sends property values for all of them to the host's "ModifyObjects"
/// command.
///
/// \par Threads and exceptions
/// Not synchronised: one thread at a time. Nothing is reported: results are
/// dropped and host exceptions pass to the caller.
///
/// \code
///   EditEntityHelper helper(selectedEntities);
///   helper.setProperties(DataBunch{{"Thickness", Zol::makeZolAny(2.5)}});
///   helper.setAttribute("Name", Zol::makeZolAny(std::string("Rib")));
/// \endcode
///
/// Copies share the host list. Property values are the host's any-values
/// (\ref sdk).
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "kyr/appfw/IEntity.h"
#include "zol/persistence/EntityReferenceList.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EditEntityHelper {
 public:
  ///@{

  /// Turns the reference, the entity, the references or the entities into a
  /// host entity list (EntConvert), in order, and keeps that list's
  /// references. References that do not resolve to an entity, and empty
  /// entity pointers, are dropped; without a root manager the helper holds
  /// no list. Host exceptions pass to the caller.
  EditEntityHelper(Zol::PersistenceFW::CAEData::EntityReference const& reference);           // NOLINT: implicit
  EditEntityHelper(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);       // NOLINT: implicit
  EditEntityHelper(Zol::PersistenceFW::CAEData::EntityReferenceSequence const& references);  // NOLINT: implicit
  EditEntityHelper(kyr::orla::appfw::IEntities const& entities);                             // NOLINT: implicit
  ///@}

  /// Shares the other's list.
  EditEntityHelper(EditEntityHelper const& other);
  /// Takes over the other's list, leaving it without one.
  EditEntityHelper(EditEntityHelper&& other) noexcept;
  /// Releases the held list, then shares the other's.
  EditEntityHelper& operator=(EditEntityHelper const& other);
  /// Exchanges the two helpers' lists.
  EditEntityHelper& operator=(EditEntityHelper&& other) noexcept;
  /// Releases the held list.
  ~EditEntityHelper();

  /// Sets attribute `name` to `value` on the first listed entity only; the
  /// undo/redo command of the change is dropped, and so is the host's
  /// result. Does nothing when the list is empty, the host has no root
  /// manager or the first reference no longer resolves.
  void setAttribute(std::string name, Zol::ZolAny_24_8 const& value);

  /// Runs "ModifyObjects" of "KYR.CorePlugin" with "objects" (the held list,
  /// an empty reference when there is none) and "values" (`properties` in
  /// its any-form), on the calling thread. When the command cannot be
  /// created nothing happens; the command's answer is dropped.
  void setProperties(DataBunch const& properties);
  /// As above, creating the command with CmdInvoker's two-flag constructor:
  /// option flag 3 = `option3` (clearing flag 13 when true), flag 1 = `option1`.
  void setProperties(DataBunch const& properties, bool option3, bool option1);

 private:
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface> m_entities;
};

}  // namespace kyr::orla::plugin::wyrdan
