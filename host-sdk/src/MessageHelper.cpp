#include "kyr/appfw/MessageHelper.h"

#include "zol/kernel/ZolCast.h"

namespace kyr::orla::appfw {

namespace {
constexpr const char* kAppExecutiveService = "kyr.orla.appfw.AppExecutive";
}  // namespace

MessageHelper::MessageHelper() = default;

MessageHelper::~MessageHelper() = default;

void MessageHelper::initialize(const std::string& domain,
                               const ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) {
  domain_ = domain;
  serviceProvider_ = provider;
  frameworkAccess_.reset();
  plugin_.reset();
  pluginId_ = -1;
  translationTable_.reset();
  if (!serviceProvider_) return;

  Zol::ZolIService service;
  if (serviceProvider_->getService(kAppExecutiveService, "", service).isOk() && service) {
    frameworkAccess_ = Zol::interfaceCast<IFrameworkAccessInterface>(service);
  }
  if (!frameworkAccess_) return;

  ZolSmartPointer<IPluginInterface> plugin;
  frameworkAccess_->getPlugin(domain_, plugin);
  plugin_ = plugin;
  if (!plugin_) return;

  std::int32_t id = -1;
  plugin_->getPluginId(id);
  pluginId_ = id;
  ZolSmartPointer<ZolITextTranslationTableInterface> table;
  plugin_->getTextTranslationTable(table);
  translationTable_ = table;
}

}  // namespace kyr::orla::appfw
