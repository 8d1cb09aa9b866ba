// The simulated application executive: the "kyr.orla.appfw.AppExecutive"
// service and ServiceCacheAppFrame::frameworkAccess_. It names the open
// model ("Model" at start; "none" stands for no model), keeps the active
// application modes, publishes events in a sender's name through the host's
// event manager (delivering them to its subscribers), hands out the flush
// target and the product information, records the messages it is asked to
// show, and finds installed plug-ins by domain.
//
//   host.appExecutive().setCurrentModelName(u"none");
//   host.appExecutive().setActiveModes({"DRESSUP_MODE"});
//   EXPECT_EQ(host.appExecutive().publications().back().sender, "appfw.CommandSS");
//   EXPECT_EQ(host.appExecutive().flushTarget()->flushes(), 1u);
#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "kyr/appfw/IFrameworkAccess.h"
#include "simhost/SimEvents.h"
#include "simhost/SimObject.h"
#include "simhost/Synchronized.h"

namespace simhost {

/// Counts its flushes.
class SIMHOST_EXPORT SimFlushTarget final : public SimObject<kyr::orla::appfw::IFlushTargetInterface> {
 public:
  using SimObject::SimObject;
  std::size_t flushes() const noexcept { return flushes_.load(std::memory_order_acquire); }
  void flush() override;

 private:
  std::atomic<std::size_t> flushes_{0};
};

class SIMHOST_EXPORT SimProductInfo final : public SimObject<kyr::orla::appfw::IProductInfoInterface> {
 public:
  SimProductInfo(SimContextPtr context, std::string name, icu::UnicodeString productName);
  void setProductName(icu::UnicodeString productName) { productName_.set(std::move(productName)); }
  Zol::ZolResult_24_8 getProductName(icu::UnicodeString& name) override;

 private:
  Synchronized<icu::UnicodeString> productName_;
};

/// Thread-safe.
class SIMHOST_EXPORT SimAppExecutive final
    : public SimObject<kyr::orla::appfw::IFrameworkAccessInterface, kyr::orla::appfw::ZolIAppExecutiveInterface> {
 public:
  /// One event published through the executive.
  struct Publication {
    std::string sender;
    Zol::Framework::ZolEvent event;
    bool fire;
  };

  /// One message shown with showMessage: a text, or the code of a result.
  struct ShownMessage {
    icu::UnicodeString text;  // empty for a result
    std::int32_t resultCode;  // 0 for a text
    kyr::orla::appfw::Severity severity;
    bool details;  // false for a text
  };

  SimAppExecutive(SimContextPtr context, std::string name, ZolSmartPointer<SimEventManager> events);

  void setCurrentModelName(icu::UnicodeString name) { modelName_.set(std::move(name)); }
  void setActiveModes(std::vector<std::string> modes) { modes_.set(std::move(modes)); }
  /// Empty: getFlushTarget answers nothing.
  void setFlushTarget(ZolSmartPointer<SimFlushTarget> target) { flushTarget_.set(std::move(target)); }
  ZolSmartPointer<SimFlushTarget> flushTarget() const { return flushTarget_.get(); }
  /// Empty: getProductInfo answers nothing.
  void setProductInfo(ZolSmartPointer<SimProductInfo> info) { productInfo_.set(std::move(info)); }
  ZolSmartPointer<SimProductInfo> productInfo() const { return productInfo_.get(); }
  /// Installs `plugin` under `domain`; empty removes it.
  void setPlugin(const std::string& domain, ZolSmartPointer<kyr::orla::appfw::IPluginInterface> plugin);
  void setBatchMode(bool batch) noexcept { batch_.store(batch, std::memory_order_release); }

  std::vector<Publication> publications() const;
  std::vector<ShownMessage> shownMessages() const;
  /// Drops plug-ins, flush target, product information and records (the host's shut-down).
  void clear();

  Zol::ZolResult_24_8 getCurrentModelName(icu::UnicodeString& name) override;
  Zol::ZolResult_24_8 getActiveModes(ZolSequence<std::string>& modes) override;
  Zol::ZolResult_24_8 getEventManager(ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface>& manager) override;
  /// Delivers the event to the event manager's subscribers (not journaled
  /// there) after recording it, whether or not `fire` is set.
  Zol::ZolResult_24_8 publishEvent(const std::string& sender, const Zol::Framework::ZolEvent& event,
                                   bool fire) override;
  Zol::ZolResult_24_8 getFlushTarget(ZolSmartPointer<kyr::orla::appfw::IFlushTargetInterface>& target) override;
  Zol::ZolResult_24_8 getProductInfo(ZolSmartPointer<kyr::orla::appfw::IProductInfoInterface>& info) override;
  Zol::ZolResult_24_8 showMessage(const Zol::ZolResult_24_8& result, kyr::orla::appfw::Severity severity,
                                  bool details) override;
  Zol::ZolResult_24_8 showMessage(const icu::UnicodeString& text, kyr::orla::appfw::Severity severity) override;
  Zol::ZolResult_24_8 getPlugin(const std::string& domain,
                                ZolSmartPointer<kyr::orla::appfw::IPluginInterface>& plugin) override;
  bool isBatchMode() override;

 private:
  Synchronized<ZolSmartPointer<SimEventManager>> events_;
  Synchronized<icu::UnicodeString> modelName_;
  Synchronized<std::vector<std::string>> modes_;
  Synchronized<ZolSmartPointer<SimFlushTarget>> flushTarget_;
  Synchronized<ZolSmartPointer<SimProductInfo>> productInfo_;
  std::atomic<bool> batch_{false};
  mutable std::mutex mutex_;
  std::map<std::string, ZolSmartPointer<kyr::orla::appfw::IPluginInterface>> plugins_;
  std::vector<Publication> publications_;
  std::vector<ShownMessage> shownMessages_;
};

}  // namespace simhost
