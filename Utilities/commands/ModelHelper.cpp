#include "WyrdanPluginUtilities/commands/ModelHelper.h"

#include <cstdint>
#include <string>

#include "WyrdanPluginUtilities/host/ServiceProviderHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "kyr/appfw/ModelPersistenceRecords.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/TrashBin.h"
#include "kyr/baseplugin/ModelManagement.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolHoldings.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using ModelManagementPtr = ZolSmartPointer<plugin::baseplugin::ZolIModelManagementInterface>;
using EventManagerPtr = ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface>;

constexpr char kModelManagement[] = "kyr.orla.plugin.baseplugin.ModelManagement";
constexpr char kPersistenceDomain[] = "kyr.orla.appfw.ModelPersistence";
constexpr char kSender[] = "KYR.ModelingPlugin";
constexpr int kBeforeFlush = 21;
constexpr int kFlushed = 3;

ZolSmartPointer<appfw::IFrameworkAccessInterface> frameworkAccess() {
  return Zol::interfaceCastOrThrow<appfw::IFrameworkAccessInterface>(ServiceHelper::getFrameworkAccess());
}

// Looked up once, past the service cache; held until unload.
ModelManagementPtr const& modelManagement() {
  static const ModelManagementPtr management = [] {
    Zol::ZolIService service;
    ServiceProviderHelper::getService(kModelManagement, std::string(), service);
    return Zol::interfaceCastOrThrow<plugin::baseplugin::ZolIModelManagementInterface>(service);
  }();
  static const Zol::ZolHoldingsRegistration holding(
      "ModelHelper", [](Zol::ZolHeldReferences& held) { held.add("model management", management); });
  return management;
}

// Taken from the host's service cache once; held until unload.
EventManagerPtr const& eventManager() {
  static const EventManagerPtr manager = appfw::ServiceCacheAppFrame::eventManager_;
  static const Zol::ZolHoldingsRegistration holding(
      "ModelHelper", [](Zol::ZolHeldReferences& held) { held.add("event manager", manager); });
  return manager;
}

// The event's payload: its own type code, then the model's name and the flag.
Zol::ZolAny_24_8 persistencePayload(icu::UnicodeString const& modelName, bool flag) {
  const Zol::ZolTypeCode_24_8 typeCode = Zol::getCachedTypeCodeInit_24_8(appfw::kModelPersistenceEventTypeId);
  Zol::ZolAny_24_8 payload;
  Zol::ZolOutStream_24_8 out = payload.initializeStream();
  Zol::marshaller_insert(out, typeCode);
  Zol::marshaller_insert(out, modelName);
  Zol::marshaller_insert(out, flag);
  payload.setData(typeCode);
  return payload;
}

}  // namespace

ModelHelper& ModelHelper::operator=(ModelHelper const&) = default;
ModelHelper& ModelHelper::operator=(ModelHelper&&) noexcept = default;

void ModelHelper::flush(bool save, bool openModelOnly) {
  const auto access = frameworkAccess();
  if (!access) return;
  icu::UnicodeString modelName(u"none");
  if (openModelOnly && (!access->getCurrentModelName(modelName).isOk() || modelName == u"none")) return;
  const ModelManagementPtr& management = modelManagement();
  if (!management) return;

  ZolSmartPointer<appfw::IFlushTargetInterface> target;
  access->getFlushTarget(target);
  if (target) target->flush();
  if (const auto trashBin = Zol::interfaceCastOrThrow<appfw::ZolITrashBinInterface>(ServiceHelper::getTrashbin())) {
    trashBin->flush();
  }

  if (!save) return;
  if (openModelOnly) publishPersistenceEvent(kBeforeFlush, modelName, false);
  const Zol::ZolResult_24_8 flushed = management->flushModel();
  if (flushed.isOk() && openModelOnly) publishPersistenceEvent(kFlushed, modelName, true);
}

Zol::ZolResult_24_8 ModelHelper::publishPersistenceEvent(int code, icu::UnicodeString modelName, bool flag) {
  Zol::ZolResult_24_8 failure(Zol::ZolResult_24_8::kFailure);
  const auto access = frameworkAccess();
  if (!access) return failure;
  const EventManagerPtr& events = eventManager();
  if (!events) return failure;
  std::int64_t domainId = 0;
  events->lookUpDomainId(kPersistenceDomain, domainId);
  const Zol::Framework::ZolEvent event{domainId, code, persistencePayload(modelName, flag)};
  return access->publishEvent(kSender, event, false);
}

}  // namespace kyr::orla::plugin::wyrdan
