/// \class kyr::orla::plugin::wyrdan::ProductHelper
/// \ingroup wyrdan_services
/// Which host product is running, and whether an entity belongs to the part
/// being designed.
///
/// \par Threads and exceptions
/// Any thread on which the host's objects may be called: the helper keeps
/// no state, adds no lock and needs none. Host exceptions pass to the
/// caller; isDesignPart throws Zol::ZolSystemException_24 when an object it
/// is handed or finds lacks the interface it needs.
///
/// \code
///   if (ProductHelper::instance()->isTSXProduct()) ...
///   bool current = ProductHelper::instance()->isDesignPart(partRepresentation);
/// \endcode
///
/// One process-wide object, stateless: every question asks the host again,
/// through the host service cache's framework access and persistence
/// framework (ServiceCacheAppFrame), never through ServiceHelper's cache. A
/// missing host object or an error result answers false; nothing is logged.
#pragma once

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IEntity.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT ProductHelper {
 public:
  /// The process-wide object; it exists from load on. Never throws.
  static ProductHelper* instance();

  /// Not copyable: there is one process-wide object.
  ProductHelper(ProductHelper const&) = delete;
  /// Not assignable, for the same reason.
  ProductHelper& operator=(ProductHelper const&) = delete;

  /// True when the host's product information names "Orla Modeler"
  /// (exactly); false without a framework access or product information.
  bool isOrlaProduct();
  /// True when the host's product information names "Tessaly Shaper"
  /// (exactly); false without a framework access or product information.
  bool isTSXProduct();
  /// True when the product record of the current session's project names
  /// `productName` (exactly); false without a persistence framework,
  /// session or project, or when one of the queries fails.
  bool isProductName(icu::UnicodeString productName);
  /// True when the part `entity` instantiates is the current model's design
  /// part, compared by the persistent parts' GUIDs (all 16 bytes). False
  /// without a current model, for an empty entity, or when the instance has
  /// no part or its part no persistent part. A GUID that cannot be read,
  /// the design part's included when there is none, counts as all zero: a
  /// part whose GUID the host fails to give matches a design part whose
  /// GUID it fails to give too.
  /// Throws Zol::ZolSystemException_24 when `entity` is not an engineering
  /// object instance ("Zol.EOM.IEOMInstance"), its part not an engineering
  /// part, or a part not a persistent object.
  bool isDesignPart(ZolSmartPointer<kyr::orla::appfw::IEntityInterface> entity);

 private:
  constexpr ProductHelper() noexcept = default;

  static ProductHelper m_instance;
};

}  // namespace kyr::orla::plugin::wyrdan
