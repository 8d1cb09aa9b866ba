#include "WyrdanPluginUtilities/commands/TaskHelper.h"

#include <string>
#include <utility>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/TaskInvoker.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ZolIGuiExecutive.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

const char* const kTaskInvokerAction = "KYR.WyrdanPlugin.TaskInvoker";
const char* const kInvokeMethod = "ExecteSyncOnWorkThread";

}  // namespace

TaskHelper& TaskHelper::operator=(TaskHelper const&) = default;
TaskHelper& TaskHelper::operator=(TaskHelper&&) noexcept = default;

void TaskHelper::execteSyncOnWorkThread(std::function<void()>&& function, bool showWait) {
  const auto guiExecutive =
      Zol::interfaceCastOrThrow<appfw::ZolIGuiExecutiveInterface>(ServiceHelper::getGuiExeutive());
  if (!guiExecutive) return;

  // This reference keeps the invoker alive until the payload holds its own.
  const ZolSmartPointer<appfw::ZolIInvokerInterface> invoker(new TaskInvoker(std::move(function)));
  DataBunch payload;
  payload.setData("invoker", invoker);
  payload.setData("method", Zol::makeZolAny(std::string(kInvokeMethod)));
  payload.setData("showWait", Zol::ZolAny_24_8(showWait));
  guiExecutive->runGuiAction(kTaskInvokerAction, payload.toZolAny());
}

}  // namespace kyr::orla::plugin::wyrdan
