// MessageHelper: the application framework's helper through which a plug-in
// reaches its own user texts. Initialised with the plug-in's domain name and
// the host's service provider, it finds the framework access (the
// "kyr.orla.appfw.AppExecutive" service), the plug-in registered there under
// the domain, the plug-in's numeric id and its text translation table, and
// keeps them until it is initialised again or destroyed.
//
//   kyr::orla::appfw::MessageHelper texts;
//   texts.initialize("KYR.MyPlugin", provider);
//   icu::UnicodeString text;
//   if (auto table = texts.translationTable()) table->getMessage("UITEXT_OK", {}, text);
#pragma once

#include <cstdint>
#include <string>

#include "kyr/appfw/IFrameworkAccess.h"
#include "zol/framework/ZolIServiceProvider.h"
#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// Not synchronised: initialise it before the plug-in's threads read it.
class ZOL_KERNEL_EXPORT MessageHelper {
 public:
  /// Empty: no provider, no domain, plug-in id -1.
  MessageHelper();
  /// Releases every pointer it holds.
  ~MessageHelper();
  MessageHelper(const MessageHelper&) = delete;
  MessageHelper& operator=(const MessageHelper&) = delete;

  /// Keeps `domain` and `provider` in place of the previous ones and looks
  /// the plug-in up anew: the framework access (a quiet cast of the service),
  /// the plug-in registered under `domain`, then its id and its table. A step
  /// that yields nothing (an empty provider, a failed look-up, an object
  /// without the interface) leaves the later members empty and the id -1;
  /// nothing is reported. Host exceptions pass to the caller, with the
  /// members found so far kept.
  void initialize(const std::string& domain,
                  const ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider);

  const ZolSmartPointer<IFrameworkAccessInterface>& frameworkAccess() const noexcept { return frameworkAccess_; }
  const ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& serviceProvider() const noexcept {
    return serviceProvider_;
  }
  const std::string& domain() const noexcept { return domain_; }
  /// -1 until a plug-in was found.
  std::int32_t pluginId() const noexcept { return pluginId_; }
  const ZolSmartPointer<ZolITextTranslationTableInterface>& translationTable() const noexcept {
    return translationTable_;
  }
  const ZolSmartPointer<IPluginInterface>& plugin() const noexcept { return plugin_; }

 private:
  ZolSmartPointer<IFrameworkAccessInterface> frameworkAccess_;
  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> serviceProvider_;
  std::string domain_;
  std::int32_t pluginId_ = -1;
  ZolSmartPointer<ZolITextTranslationTableInterface> translationTable_;
  ZolSmartPointer<IPluginInterface> plugin_;
};

}  // namespace kyr::orla::appfw
