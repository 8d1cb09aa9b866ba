// Named configurations of settings, kept by the host's configuration
// manager (the "Zol.Framework.ConfigurationManager" service).
//
//   ZolSmartPointer<Zol::Framework::ZolIConfigurationInterface> settings;
//   icu::UnicodeString value;
//   if (manager->getConfiguration(u"KYR.WyrdanPlugin.Deliverable", settings).isOk() && settings)
//     settings->getValue(u"ExportFolder", value, 0);
#pragma once

#include <cstdint>

#include <unicode/unistr.h>

#include "zol/kernel/ZolSmartPointer.h"

namespace Zol::Framework {

/// One named set of settings ("Zol.Framework.ZolIConfiguration").
class ZolIConfigurationInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolIConfiguration"};
  /// Writes the value of setting `name` (names are case-sensitive); an
  /// empty value when the configuration lacks the setting. `scope` 0 reads
  /// the value the configuration holds itself.
  virtual ZolResult_24_8 getValue(const icu::UnicodeString& name, icu::UnicodeString& value, std::int32_t scope) = 0;
};

/// ("Zol.Framework.ZolIConfigurationManager")
class ZolIConfigurationManagerInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolIConfigurationManager"};
  /// Writes the configuration named `name`; nothing (and a failure) when
  /// the host has none of that name.
  virtual ZolResult_24_8 getConfiguration(const icu::UnicodeString& name,
                                          ZolSmartPointer<ZolIConfigurationInterface>& configuration) = 0;
};

}  // namespace Zol::Framework
