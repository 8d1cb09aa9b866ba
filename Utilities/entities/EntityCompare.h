/// \class kyr::orla::plugin::wyrdan::EntityCompare
/// \ingroup wyrdan_entities
/// The host's own comparison of entities and entity references, through its
/// interface adapter manager (offered by the root manager). The authoritative
/// comparison: one host call per comparison, besides fetching the entities'
/// references.
///
/// \par Threads and exceptions
/// Comparators may be constructed and used on several threads at once.
/// Constructions that find the adapter manager at the same time may each ask
/// the root manager for it, but one of them is kept and every comparator
/// uses that one; once it is kept, constructions and comparisons read it
/// without a lock. Beyond that the comparisons keep no state, and their
/// thread-safety is the host's. Host exceptions pass to the caller; the
/// constructor throws Zol::ZolSystemException_24 when the root manager does
/// not offer the adapter manager.
///
/// \code
///   std::set<ZolSmartPointer<IEntityInterface>, EntityHashCompare> entities;  // ordered by the host
///   bool same = EntityCompare().equals(a, b);
/// \endcode
///
/// The adapter manager is found by the first construction of an EntityCompare
/// (or of a class built on it) that meets a host with a root manager, and
/// kept until the library unloads. The comparisons rely on it: while no
/// construction has found it (the host had no root manager), they answer
/// false and the hashes 0.
#pragma once

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntity.h"
#include "zol/kernel/ZolHoldings.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT EntityCompare {
 public:
  /// Finds the adapter manager on the first construction: the host's root
  /// manager cast to it; later constructions find it kept. Throws
  /// Zol::ZolSystemException_24 when the root manager does not offer it; every
  /// later construction then tries, and throws, again. Without a root
  /// manager it finds none, and every later construction looks again; until
  /// one finds it, the comparisons below answer false and the hashes 0.
  EntityCompare();

  /// The host's equality of two references (containers and words as the
  /// host compares them).
  bool equals(Zol::PersistenceFW::CAEData::EntityReference const& a,
              Zol::PersistenceFW::CAEData::EntityReference const& b) const;
  /// The host's strict order of references.
  bool lessThan(Zol::PersistenceFW::CAEData::EntityReference const& a,
                Zol::PersistenceFW::CAEData::EntityReference const& b) const;
  /// The host's hash of a reference, as the host gives it (a signed 32-bit
  /// number).
  int hashCode(Zol::PersistenceFW::CAEData::EntityReference const& reference) const;

  ///@{

  /// The same over entities: each entity counts as the reference it reports
  /// (one more host call each), an empty entity as the empty reference.
  bool equals(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
              ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
  bool lessThan(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& a,
                ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& b) const;
  int hashCode(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity) const;
  ///@}

 protected:
  /// The root manager's entity of `reference`; empty when it gives none or
  /// the host has no root manager.
  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> getByEntityReference(
      Zol::PersistenceFW::CAEData::EntityReference const& reference) const;
  /// The entity's own reference; the empty reference for an empty entity.
  Zol::PersistenceFW::CAEData::EntityReference getEntityReferenceSafe(
      ZolSmartPointer<kyr::orla::appfw::IEntityInterface> const& entity) const;

 private:
  /// Sets m_spAdpMgr from the root manager when it is empty.
  static void findAdapterManager();

  /// The adapter manager kept, set once under a lock and held until unload.
  /// The comparisons do not read it: they call the manager through a pointer
  /// published after it is set, which needs no lock.
  static ZolSmartPointer<kyr::orla::appfw::IInterfaceAdapterManagerInterface> m_spAdpMgr;
  /// Names m_spAdpMgr, held until unload.
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
