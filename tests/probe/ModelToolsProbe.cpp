// A plug-in module that flushes the model: the model tools' load test
// reaches the library only through these entry points, so the library's
// process-wide state lives from this module's load to its unload.
#include <atomic>
#include <thread>
#include <vector>

#include "WyrdanPluginUtilities/commands/ModelHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"

using kyr::orla::plugin::wyrdan::ModelHelper;
using kyr::orla::plugin::wyrdan::ServiceHelper;

extern "C" __attribute__((visibility("default"))) void modelToolsStart(Zol::Framework::ZolIServiceAccess* access) {
  ServiceHelper::setZolServiceAccess(access);
}

extern "C" __attribute__((visibility("default"))) void modelToolsFlush(bool save, bool openModelOnly) {
  ModelHelper::flush(save, openModelOnly);
}

/// The code of the host's result.
extern "C" __attribute__((visibility("default"))) int modelToolsPublish(int code) {
  return ModelHelper::publishPersistenceEvent(code, u"Probe", true).getCode();
}

/// `threads` threads flush the model (no events) at once. The services the
/// flush finds through the service cache are cached first: the cache serves
/// one thread at a time.
extern "C" __attribute__((visibility("default"))) void modelToolsFlushOnThreads(int threads) {
  ServiceHelper::getFrameworkAccess();
  ServiceHelper::getTrashbin();
  std::atomic<bool> go{false};
  std::vector<std::thread> running;
  for (int thread = 0; thread < threads; ++thread) {
    running.emplace_back([&go] {
      while (!go.load(std::memory_order_acquire)) std::this_thread::yield();
      ModelHelper::flush(true, false);
    });
  }
  go.store(true, std::memory_order_release);
  for (std::thread& thread : running) thread.join();
}
