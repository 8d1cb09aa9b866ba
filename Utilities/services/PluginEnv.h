/// \class kyr::orla::plugin::wyrdan::PluginEnv
/// \ingroup wyrdan_services
/// The plug-in's settings, read from the host's configuration manager
/// ("Zol.Framework.ConfigurationManager"). A setting is looked up in the
/// configuration "KYR.WyrdanPlugin.Deliverable" first, then in
/// "KYR.WyrdanPlugin.NonDeliverable"; the first non-empty value wins.
///
/// \par Threads and exceptions
/// The reads may run on several threads at once: a PluginEnv keeps no state,
/// and the configuration manager comes from the service cache (ServiceHelper),
/// which serves several threads. Host exceptions pass to the caller; the reads
/// throw Zol::ZolSystemException_24 when the configuration manager service is
/// not a configuration manager.
///
/// \code
///   PluginEnv env;
///   std::string folder = env.getEnvValue(u"ExportFolder", "");
///   if (env.isEnvSet(u"KeepScratchFiles")) ...
/// \endcode
///
/// Stateless: every read asks the host again. A missing configuration
/// manager, configuration or setting, or an error result of the host, reads
/// as no value; nothing is logged.
#pragma once

#include <string>

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT PluginEnv {
 public:
  /// Makes no host call: the settings are read when asked for.
  PluginEnv();
  /// Copying, moving and assigning copy nothing: the object has no state.
  PluginEnv(PluginEnv const& other);
  /// As the copy.
  PluginEnv(PluginEnv&& other) noexcept;
  /// As the copy.
  PluginEnv& operator=(PluginEnv const& other);
  /// As the copy.
  PluginEnv& operator=(PluginEnv&& other) noexcept;
  /// Nothing to release.
  ~PluginEnv();

  /// The value of setting `name` as UTF-8: the deliverable configuration's
  /// when it is not empty, else the non-deliverable one's; empty when
  /// neither has a value. `ignored` has no effect: no value is the empty
  /// string. Throws Zol::ZolSystemException_24 when the configuration
  /// manager service is not a configuration manager.
  std::string getEnvValue(icu::UnicodeString const& name, std::string const& ignored);
  /// True when getEnvValue finds a non-empty value; throws what it throws.
  bool isEnvExist(icu::UnicodeString const& name);
  /// The value read as a truth ("true", "yes", "on" or "1", in any letter
  /// case, surrounding white space ignored); false for any other value and
  /// when there is none. Throws what getEnvValue throws.
  bool isEnvSet(icu::UnicodeString const& name);
};

}  // namespace kyr::orla::plugin::wyrdan
