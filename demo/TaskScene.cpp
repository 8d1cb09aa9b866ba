#include "TaskScene.h"

#include <cstddef>
#include <string>
#include <thread>

#include "WyrdanPluginUtilities/commands/ScopeWait.h"
#include "WyrdanPluginUtilities/commands/TaskHelper.h"
#include "WyrdanPluginUtilities/commands/UndoRedoHelper.h"

namespace demo {

namespace {

using kyr::orla::plugin::wyrdan::ScopeWait;
using kyr::orla::plugin::wyrdan::TaskHelper;
using kyr::orla::plugin::wyrdan::UndoRedoHelper;

// What the host shows now: the cursor's depth and the last transaction's state.
std::string hostState(simhost::SimHost& host) {
  std::string state = "wait cursor " + std::string(host.waitCursor().showing() ? "shown" : "hidden") + " (depth " +
                      std::to_string(host.waitCursor().depth()) + "), ";
  const auto brokers = host.transactionBrokerFactory().brokers();
  if (brokers.empty()) return state + "no transaction";
  const auto& broker = brokers.back();
  return state + "transaction " + (broker->isOpen() ? "open" : "closed") + " (begun " +
         std::to_string(broker->begins()) + ", ended " + std::to_string(broker->ends()) + ")";
}

std::string threadName(simhost::SimHost& host, std::thread::id thread, std::thread::id plugin) {
  if (thread == host.workThread().id()) return "the host's work thread";
  return thread == plugin ? "the plug-in's own thread" : "another thread";
}

}  // namespace

void taskScene(simhost::SimHost& host, Transcript& transcript) {
  const std::thread::id plugin = std::this_thread::get_id();
  transcript.step("Before the task");
  transcript.note(hostState(host));
  {
    transcript.step("ScopeWait(true, true): ask for the wait cursor and open a host transaction");
    const ScopeWait wait(true, true);
    transcript.note(hostState(host));

    transcript.step("TaskHelper::execteSyncOnWorkThread(task, true): the host runs it on its work thread");
    std::thread::id ranOn;
    std::string seen;
    bool replaying = true;
    TaskHelper::execteSyncOnWorkThread(
        [&] {
          const std::size_t from = host.journal().size();
          ranOn = std::this_thread::get_id();
          seen = hostState(host);
          replaying = UndoRedoHelper::isUndoRedoCommand();
          transcript.markWorkThreadCalls(from);
        },
        true);
    transcript.note("the task ran on " + threadName(host, ranOn, plugin) + "; the call returned after it");
    transcript.note("while it ran: " + seen);
    transcript.note(std::string("in the task, UndoRedoHelper::isUndoRedoCommand() -> ") +
                    (replaying ? "true" : "false") + ", asked on the work thread");
    const simhost::SimTaskRunner::Run run = host.taskRunner().runs().back();
    transcript.note("the GUI action's handler invoked \"" + run.invokerName + "\"" +
                    (run.showWait ? " under its own wait cursor" : "") + ": result code " +
                    std::to_string(run.resultCode));

    transcript.step("The scope ends: the transaction is ended, then the wait cursor is given back");
  }
  transcript.note(hostState(host));
}

}  // namespace demo
