#include "WyrdanPluginUtilities/diagnostics/MessageHandler.h"

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "kyr/appfw/ZolIGuiExecutive.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

using appfw::Severity;

constexpr const char* kShowStatusMessage = "KYR.WyrdanPlugin.ShowStatusMessage";
// The caption's text key of each severity, by its value.
constexpr const char* kCaptionKeys[] = {"UITEXT_Debug", "UITEXT_Info", "UITEXT_Warning", "UITEXT_Error"};

bool isSeverity(Severity severity) { return severity >= appfw::SeverityDebug && severity <= appfw::SeverityError; }

}  // namespace

void MessageHandler::postStatusMessage(const icu::UnicodeString& message, Severity severity) {
  if (!isSeverity(severity)) return;
  const auto gui = Zol::interfaceCast<appfw::ZolIGuiExecutiveInterface>(ServiceHelper::getGuiExeutive());
  if (!gui) return;
  const DataBunch payload{{"severity", Zol::ZolAny_24_8(static_cast<std::int32_t>(severity))},
                          {"message", Zol::makeZolAny(message)}};
  gui->runGuiAction(kShowStatusMessage, payload.toZolAny());
}

void MessageHandler::showMessage(const Zol::ZolResult_24_8& result, Severity severity, bool details) {
  if (!isSeverity(severity)) return;
  if (const auto& access = appfw::ServiceCacheAppFrame::frameworkAccess_)
    access->showMessage(result, severity, details);
}

void MessageHandler::showMessage(const icu::UnicodeString& text, Severity severity, bool /*details*/) {
  if (!isSeverity(severity)) return;
  if (const auto& access = appfw::ServiceCacheAppFrame::frameworkAccess_) access->showMessage(text, severity);
}

Zol::ZolResult_24_8 MessageHandler::showPopMessage(const icu::UnicodeString& message, Severity severity,
                                                   const icu::UnicodeString& button, const icu::UnicodeString& extra,
                                                   const icu::UnicodeString& caption) {
  if (!isSeverity(severity)) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  icu::UnicodeString title = LocalStr(kCaptionKeys[severity], "").getUStr();
  if (!caption.isEmpty()) title = caption;
  const icu::UnicodeString buttonText = button.isEmpty() ? LocalStr("UITEXT_OK", "").getUStr() : button;

  const auto gui = Zol::interfaceCastOrThrow<appfw::ZolIGuiExecutiveInterface>(ServiceHelper::getGuiExeutive());
  const auto app = Zol::interfaceCastOrThrow<appfw::ZolIAppExecutiveInterface>(ServiceHelper::getFrameworkAccess());
  if (!app) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  if (app->isBatchMode()) return {};
  if (!gui) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  return gui->showModalMessageBox(title, message, buttonText, extra, extra, true);
}

}  // namespace kyr::orla::plugin::wyrdan
