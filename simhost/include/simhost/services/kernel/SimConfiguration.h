/// \file
/// The simulated configuration manager ("Zol.Framework.ConfigurationManager"):
/// named configurations of settings that a test fills and reads back. The
/// host starts with the plug-in's two configurations,
/// "KYR.WyrdanPlugin.Deliverable" and "KYR.WyrdanPlugin.NonDeliverable",
/// both empty.
///
/// \code
///   host.configurationManager().configuration(u"KYR.WyrdanPlugin.Deliverable")->setValue(u"ExportFolder", u"/tmp");
///   host.configurationManager().setConfiguration(u"KYR.WyrdanPlugin.NonDeliverable", {});  // takes it away
/// \endcode
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the setters and
/// readers are the host's own access, not journaled.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>

#include <unicode/unistr.h>

#include "simhost/testbed/SimObject.h"
#include "zol/framework/ZolIConfiguration.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// One configuration: settings by name (case-sensitive).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimConfiguration final : public SimObject<Zol::Framework::ZolIConfigurationInterface> {
 public:
  using SimObject::SimObject;

  /// Sets (or replaces) a setting; an empty value is a value like any other.
  void setValue(const icu::UnicodeString& name, icu::UnicodeString value);
  /// Removes a setting; an unknown name is ignored.
  void removeValue(const icu::UnicodeString& name);

  /// Writes the setting's value, or the empty text when the configuration
  /// lacks it; the scope is journaled, not interpreted.
  Zol::ZolResult_24_8 getValue(const icu::UnicodeString& name, icu::UnicodeString& value, std::int32_t scope) override;

 private:
  mutable std::mutex mutex_;
  std::map<icu::UnicodeString, icu::UnicodeString> values_;
};

/// The configuration manager: configurations by name (case-sensitive).
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimConfigurationManager final
    : public SimObject<Zol::Framework::ZolIConfigurationManagerInterface> {
 public:
  using SimObject::SimObject;

  /// Installs `configuration` under `name`; empty removes the name.
  void setConfiguration(const icu::UnicodeString& name, ZolSmartPointer<SimConfiguration> configuration);
  /// The configuration named `name`; empty when there is none.
  ZolSmartPointer<SimConfiguration> configuration(const icu::UnicodeString& name) const;
  /// Drops every configuration (the host's shut-down).
  void clear();

  /// Fails (kFailure), writing nothing, for a name the manager lacks.
  Zol::ZolResult_24_8 getConfiguration(
      const icu::UnicodeString& name,
      ZolSmartPointer<Zol::Framework::ZolIConfigurationInterface>& configuration) override;

 private:
  mutable std::mutex mutex_;
  std::map<icu::UnicodeString, ZolSmartPointer<SimConfiguration>> configurations_;
};

/// @}

}  // namespace simhost
