#include "DiagnosticsScene.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "WyrdanPluginUtilities/diagnostics/LogHelper.h"
#include "WyrdanPluginUtilities/diagnostics/Logger.h"
#include "WyrdanPluginUtilities/diagnostics/MessageHandler.h"
#include "WyrdanPluginUtilities/diagnostics/ScopeLog.h"
#include "simhost/testbed/ArgumentText.h"
#include "simhost/testbed/Environment.h"
#include "zol/kernel/ZolDebug.h"

namespace demo {

namespace {

using kyr::orla::appfw::Severity;
using kyr::orla::plugin::wyrdan::LocalStr;
using kyr::orla::plugin::wyrdan::Logger;
using kyr::orla::plugin::wyrdan::LogHelper;
using kyr::orla::plugin::wyrdan::MessageHandler;
using kyr::orla::plugin::wyrdan::ScopeLog;

const char* const kSeverityNames[] = {"Debug", "Information", "Warning", "Error"};

std::string yesNo(bool value) { return value ? "true" : "false"; }

std::string utf8(const icu::UnicodeString& text) { return simhost::argumentText(text); }

void showHostLog(simhost::SimHost& host, Transcript& transcript, std::size_t from) {
  const auto lines = host.kernelLogger().lines();
  for (std::size_t i = from; i < lines.size(); ++i) {
    transcript.note("kernel logger | severity " + std::to_string(lines[i].severity) + " | " + lines[i].text);
  }
}

void filteredLog(simhost::SimHost& host, Transcript& transcript) {
  transcript.step("The log's environment, read once by Logger::initialize");
  const std::pair<const char*, const char*> environment[] = {
      {"WYRDAN_LOG_FILTER", "0"},
      {"args", "--model bracket.mdl -console"},
      {"WYRDAN_LOG_SCOPE", "mesher|export"},
      {"OutputDebugString", "true"},
  };
  for (const auto& [name, value] : environment) {
    simhost::setEnvironment(name, value);
    transcript.note(std::string(name) + "=\"" + value + "\"");
  }
  Logger::initialize();
  transcript.note("enableDebugLog() -> " + yesNo(Logger::enableDebugLog()) + ", enableErrorLog() -> " +
                  yesNo(Logger::enableErrorLog()));
  transcript.note("enableDebugLog(\"mesher\") -> " + yesNo(Logger::enableDebugLog("mesher")) +
                  ", enableDebugLog(\"solver\") -> " + yesNo(Logger::enableDebugLog("solver")));

  transcript.step("Three statements, each asking first; the console prints the wanted ones as they are written");
  std::string debugger;
  const Zol::ZolDebugSink previous = Zol::setDebugSink([&debugger](std::string_view text) { debugger += text; });
  const std::size_t logged = host.kernelLogger().lines().size();
  if (Logger::enableDebugLog("mesher")) ScopeLog(0).stream() << "mesher: 1824 cells on plate 3";
  if (Logger::enableDebugLog("solver")) ScopeLog(0).stream() << "solver: never composed";
  if (Logger::enableErrorLog()) ScopeLog(3).stream() << "export: plate 3 has no material";
  Zol::setDebugSink(previous);
  showHostLog(host, transcript, logged);
  for (std::size_t start = 0; start < debugger.size();) {
    const std::size_t end = debugger.find('\n', start);
    transcript.note("debugger      | " + debugger.substr(start, end - start));
    start = end == std::string::npos ? debugger.size() : end + 1;
  }

  transcript.step("LogHelper: stamped with the local time, the level passed on as the severity");
  const std::size_t stamped = host.kernelLogger().lines().size();
  LogHelper::instance()->logMessage(2, "meshed %d of %d plates", 3, 4);
  showHostLog(host, transcript, stamped);
}

void userMessages(simhost::SimHost& host, Transcript& transcript) {
  transcript.step("LocalStr::initialize finds the plug-in's translation table");
  host.pluginTexts().setText("MESH_DONE", u"{0} of {1} plates meshed");
  ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface> provider;
  host.serviceAccess()->getServiceProvider(provider);
  LocalStr::initialize(provider);

  transcript.step("Texts by key, with arguments, and a message the table lacks");
  LocalStr done("MESH_DONE", "meshing done");
  transcript.note("LocalStr(\"MESH_DONE\").format({3, 4}).getStr() -> \"" +
                  done.format({Zol::ZolAny_24_8(3), Zol::ZolAny_24_8(4)}).getStr() + "\"");
  transcript.note("LocalStr(4711, \"no such text\").getStr() -> \"" + LocalStr(4711, "no such text").getStr() + "\"");

  transcript.step("A status-bar message");
  MessageHandler::postStatusMessage(done.getUStr(), kyr::orla::appfw::SeverityInfo);
  for (const auto& message : host.statusBar().messages()) {
    transcript.note("status bar shows [" + std::string(kSeverityNames[message.severity]) + "] " + utf8(message.text));
  }

  transcript.step("A pop-up: caption and button from the plug-in's texts");
  const Zol::ZolResult_24_8 answer = MessageHandler::showPopMessage(
      u"Plate 3 has no material", kyr::orla::appfw::SeverityWarning, {}, u"Assign one before meshing.", {});
  for (const auto& box : host.guiExecutive().messageBoxes()) {
    transcript.note("message box \"" + utf8(box.caption) + "\": " + utf8(box.message) + " (" +
                    utf8(box.informativeText) + ") [" + utf8(box.buttonText) + "]");
  }
  transcript.note("showPopMessage() -> code " + std::to_string(answer.getCode()));

  transcript.step("The same pop-up in a batch run shows nothing");
  host.appExecutive().setBatchMode(true);
  const Zol::ZolResult_24_8 batch =
      MessageHandler::showPopMessage(u"Plate 3 has no material", kyr::orla::appfw::SeverityWarning, {}, {}, {});
  host.appExecutive().setBatchMode(false);
  transcript.note("showPopMessage() -> code " + std::to_string(batch.getCode()) +
                  ", message boxes shown: " + std::to_string(host.guiExecutive().messageBoxes().size()));
}

}  // namespace

void diagnosticsScene(simhost::SimHost& host, Transcript& transcript) {
  filteredLog(host, transcript);
  userMessages(host, transcript);
}

}  // namespace demo
