// PluginEnv: the plug-in's settings, read from the host's configuration
// manager ("Zol.Framework.ConfigurationManager"). A setting is looked up in
// the configuration "KYR.WyrdanPlugin.Deliverable" first, then in
// "KYR.WyrdanPlugin.NonDeliverable"; the first non-empty value wins.
//
//   PluginEnv env;
//   std::string folder = env.getEnvValue(u"ExportFolder", "");
//   if (env.isEnvSet(u"KeepScratchFiles")) ...
//
// Stateless. A missing configuration manager, configuration or setting, or
// an error result of the host, reads as no value; nothing is logged.
#pragma once

#include <string>

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT PluginEnv {
 public:
  PluginEnv();
  PluginEnv(PluginEnv const& other);
  PluginEnv(PluginEnv&& other) noexcept;
  PluginEnv& operator=(PluginEnv const& other);
  PluginEnv& operator=(PluginEnv&& other) noexcept;
  ~PluginEnv();

  /// The value of setting `name` as UTF-8: the deliverable configuration's
  /// when it is not empty, else the non-deliverable one's; empty when
  /// neither has a value. `ignored` has no effect: no value is the empty
  /// string. Throws Zol::ZolSystemException_24 when the configuration
  /// manager service is not a configuration manager.
  std::string getEnvValue(icu::UnicodeString const& name, std::string const& ignored);
  /// True when getEnvValue finds a non-empty value.
  bool isEnvExist(icu::UnicodeString const& name);
  /// The value read as a truth ("true", "yes", "on" or "1", in any letter
  /// case); false when there is no value.
  bool isEnvSet(icu::UnicodeString const& name);
};

}  // namespace kyr::orla::plugin::wyrdan
