/// \class kyr::orla::plugin::wyrdan::PluginHelperTool
/// \ingroup wyrdan_commands
/// Questions about the host model as a whole: the active application modes,
/// the parts under an assembly, the engineering object of a persistent
/// object; flushing the open model, and naming the study objects the user
/// creates.
///
/// \par Threads and exceptions
/// Any thread on which the host's objects may be called may ask, several at
/// once: the mode checks and getAllParts touch no cache of the library, and the
/// service cache and type-id caches that the others reach serve several
/// threads. registerDefaultNames also reads the plug-in's texts (LocalStr),
/// which are not synchronised: callers serialise it. Host exceptions pass to
/// the caller, except those of the wrap in pfwObject2EOMObject; flushModel,
/// getAllParts and pfwObject2EOMObject throw Zol::ZolSystemException_24 when a
/// service or object lacks its interface.
///
/// \code
///   if (!PluginHelperTool::isReadonlyMode()) ...
///   IEntities parts = PluginHelperTool::getAllParts(rootAssemblyRep);  // depth-first
/// \endcode
///
/// Static only, keeping no state; nothing is logged.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntity.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/persistence/EntityReferenceList.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT PluginHelperTool {
 public:
  ///@{

  /// Assignment copies nothing: the class has no state. Never throws.
  PluginHelperTool& operator=(PluginHelperTool const& other);
  PluginHelperTool& operator=(PluginHelperTool&& other) noexcept;
  ///@}

  /// Flushes the open model: ModelHelper::flush(`save`, true), with its
  /// events and exceptions. Nothing when no model is open.
  static void flushModel(bool save);

  /// Whether "DRESSUP_MODE" is among the host's active application modes
  /// (exact match), asked of the host service cache's framework access on
  /// every call. True when the host has no framework access. Host exceptions
  /// pass to the caller.
  static bool isDressUpMode();
  /// Whether "READ_ONLY_MODEL" is among the host's active application modes
  /// (exact match), asked on every call. True when the host has no framework
  /// access. Host exceptions pass to the caller.
  static bool isReadonlyMode();

  /// The part entities under `entity`: for an assembly representation
  /// ("Assembly::AssemblyRep") the parts of its part representations and
  /// sub-assemblies, depth-first in the assembly's order (a sub-assembly's
  /// parts where the sub-assembly stands); for a part representation
  /// ("CompPart::FEPartRep", "Part::ConcentratedPartRep",
  /// "CompPart::ComputationalPartRep") its part; empty for an empty pointer,
  /// an entity that is no engineering object, and any other type. Children
  /// of other types, empty children and representations without a part add
  /// nothing. A sub-assembly met on two paths is walked at each; one that
  /// already encloses the child (a host tree that loops) is not walked again.
  /// Throws Zol::ZolSystemException_24 when a
  /// representation's part is not an engineering part, or that part not an
  /// entity; other host exceptions pass too.
  static kyr::orla::appfw::IEntities getAllParts(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity);

  /// The engineering object the host's EOM object factory wraps `object`
  /// in; empty without a factory, when the factory fails, or when it throws
  /// (every exception of the wrap is absorbed). Throws
  /// Zol::ZolSystemException_24 when the "Zol.EOM.EOMCore" service is not an
  /// EOM object factory.
  static ZolSmartPointer<Zol::EOM::IEOMObjectInterface> pfwObject2EOMObject(
      ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> const& object);

  /// Registers with the host's persistence framework the default names of
  /// new studies ("TessalyShaperStudy_DefaultName", numbered per owner) and
  /// scenarios ("TessalyShaperScenario_DefaultName", then per owner
  /// "Scenario_Step_DefaultName", then "Scenario_Event_DefaultName"), each
  /// numbered from 1: the texts come from the plug-in's table (LocalStr,
  /// empty when missing), the type ids from EntityTypeID of
  /// "StudyManager.TessalyShaperStudy" and "StudyManager.TessalyShaperScenario".
  /// Nothing without a persistence framework; the host's results are not
  /// examined, its exceptions pass to the caller.
  static void registerDefaultNames();

 private:
  // Static only: nothing makes one.
  PluginHelperTool() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
