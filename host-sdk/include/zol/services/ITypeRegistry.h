// The host type registry: entity type names and ids.
//
//   std::uint32_t id = 0;
//   registry->getTypeId(u"StudyManager.TessalyShaperStudy", id);
#pragma once

#include <cstdint>

#include <unicode/unistr.h>

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Services::TypeRegistry {

/// ("Zol.Services.TypeRegistry.ITypeRegistry")
class ITypeRegistryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Services.TypeRegistry.ITypeRegistry"};
  /// Writes the name of the type with id `id`; the host's answer for an id
  /// it does not know is an empty name.
  virtual Zol::ZolResult_24_8 getTypeName(std::uint32_t id, icu::UnicodeString& name) = 0;
  /// Writes the id of the type named `name` (names are case-sensitive); the
  /// host's answer for a name it does not know is 0.
  virtual Zol::ZolResult_24_8 getTypeId(const icu::UnicodeString& name, std::uint32_t& id) = 0;
};

}  // namespace Zol::Services::TypeRegistry
