#include "WyrdanPluginUtilities/services/PluginEnv.h"

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "zol/framework/ZolIConfiguration.h"
#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolStringUtility.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using Zol::Framework::ZolIConfigurationInterface;
using Zol::Framework::ZolIConfigurationManagerInterface;

// In the order searched.
constexpr const char* kConfigurations[] = {"KYR.WyrdanPlugin.Deliverable", "KYR.WyrdanPlugin.NonDeliverable"};

// The value of `name` in the configuration `configurationName`; empty when
// the configuration, the setting or a value is missing.
icu::UnicodeString valueIn(ZolSmartPointer<ZolIConfigurationManagerInterface> const& manager,
                           const char* configurationName, icu::UnicodeString const& name) {
  icu::UnicodeString value;
  ZolSmartPointer<ZolIConfigurationInterface> configuration;
  const icu::UnicodeString configurationUName =
      Zol::baseStringUtilityInstance_24_8().ustringFromString(configurationName);
  if (!manager->getConfiguration(configurationUName, configuration).isOk() || !configuration) return value;
  if (!configuration->getValue(name, value, 0).isOk()) value.remove();
  return value;
}

}  // namespace

PluginEnv::PluginEnv() = default;
PluginEnv::PluginEnv(PluginEnv const&) = default;
PluginEnv::PluginEnv(PluginEnv&&) noexcept = default;
PluginEnv& PluginEnv::operator=(PluginEnv const&) = default;
PluginEnv& PluginEnv::operator=(PluginEnv&&) noexcept = default;
PluginEnv::~PluginEnv() = default;

std::string PluginEnv::getEnvValue(icu::UnicodeString const& name, std::string const& /*ignored*/) {
  const auto manager =
      Zol::interfaceCastOrThrow<ZolIConfigurationManagerInterface>(ServiceHelper::getConfigurationManager());
  if (!manager) return {};
  for (const char* configuration : kConfigurations) {
    const icu::UnicodeString value = valueIn(manager, configuration, name);
    if (!value.isEmpty()) return Zol::baseStringUtilityInstance_24_8().stringFromUString(value, true);
  }
  return {};
}

bool PluginEnv::isEnvExist(icu::UnicodeString const& name) { return !getEnvValue(name, std::string()).empty(); }

bool PluginEnv::isEnvSet(icu::UnicodeString const& name) {
  return Zol::baseStringUtilityInstance_24_8().stringToBool(getEnvValue(name, std::string()));
}

}  // namespace kyr::orla::plugin::wyrdan
