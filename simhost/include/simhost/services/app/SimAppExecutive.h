/// \file
/// The simulated application executive: the "kyr.orla.appfw.AppExecutive"
/// service and ServiceCacheAppFrame::frameworkAccess_. It names the open
/// model ("Model" at start; "none" stands for no model), keeps the active
/// application modes, publishes events in a sender's name through the host's
/// event manager (delivering them to its subscribers), hands out the flush
/// target and the product information, records the messages it is asked to
/// show, and finds installed plug-ins by domain.
///
/// \code
///   host.appExecutive().setCurrentModelName(u"none");
///   host.appExecutive().setActiveModes({"DRESSUP_MODE"});
///   EXPECT_EQ(host.appExecutive().publications().back().sender, "appfw.CommandSS");
///   EXPECT_EQ(host.appExecutive().flushTarget()->flushes(), 1u);
/// \endcode
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the setters and
/// readers are the host's own access, not journaled. Thread-safe.
#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "kyr/appfw/IFrameworkAccess.h"
#include "simhost/services/events/SimEvents.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The framework's flush target: counts its flushes.
///
/// \par Threads and exceptions
/// Thread-safe. flush() throws what a fault armed for it throws (an injected
/// error result is ignored); flushes() never throws.
class SIMHOST_EXPORT SimFlushTarget final : public SimObject<kyr::orla::appfw::IFlushTargetInterface> {
 public:
  using SimObject::SimObject;
  /// How often flush ran.
  std::size_t flushes() const noexcept { return flushes_.load(std::memory_order_acquire); }
  /// Counts a flush; an injected error result is ignored, an injected
  /// exception thrown before counting.
  void flush() override;

 private:
  std::atomic<std::size_t> flushes_{0};
};

/// The host's product information: the product's name.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimProductInfo final : public SimObject<kyr::orla::appfw::IProductInfoInterface> {
 public:
  /// Information named `name` in the journal, naming the product `productName`.
  SimProductInfo(SimContextPtr context, std::string name, icu::UnicodeString productName);
  /// Changes the product's name.
  void setProductName(icu::UnicodeString productName) { productName_.set(std::move(productName)); }
  /// The product's name.
  Zol::ZolResult_24_8 getProductName(icu::UnicodeString& name) override;

 private:
  Synchronized<icu::UnicodeString> productName_;
};

/// The application executive and framework access.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc. publishEvent also passes on a subscriber's
/// exception.
class SIMHOST_EXPORT SimAppExecutive final
    : public SimObject<kyr::orla::appfw::IFrameworkAccessInterface, kyr::orla::appfw::ZolIAppExecutiveInterface> {
 public:
  /// One event published through the executive.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Publication {
    /// The name the event was published in.
    std::string sender;
    /// The event as published.
    Zol::Framework::ZolEvent event;
    /// The fire flag the publisher passed.
    bool fire;
  };

  /// One message shown with showMessage: a text, or the code of a result.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct ShownMessage {
    icu::UnicodeString text;  ///< empty for a result
    std::int32_t resultCode;  ///< 0 for a text
    /// The severity asked for.
    kyr::orla::appfw::Severity severity;
    bool details;  ///< false for a text
  };

  /// The executive named `name`, publishing through `events`; the model is
  /// named "Model", no mode is active, no plug-in installed, batch mode off.
  SimAppExecutive(SimContextPtr context, std::string name, ZolSmartPointer<SimEventManager> events);

  /// Sets what getCurrentModelName answers ("none": no model open).
  void setCurrentModelName(icu::UnicodeString name) { modelName_.set(std::move(name)); }
  /// Sets what getActiveModes answers, in order.
  void setActiveModes(std::vector<std::string> modes) { modes_.set(std::move(modes)); }
  /// Empty: getFlushTarget answers nothing.
  void setFlushTarget(ZolSmartPointer<SimFlushTarget> target) { flushTarget_.set(std::move(target)); }
  /// The flush target; empty when none is set.
  ZolSmartPointer<SimFlushTarget> flushTarget() const { return flushTarget_.get(); }
  /// Empty: getProductInfo answers nothing.
  void setProductInfo(ZolSmartPointer<SimProductInfo> info) { productInfo_.set(std::move(info)); }
  /// The product information; empty when none is set.
  ZolSmartPointer<SimProductInfo> productInfo() const { return productInfo_.get(); }
  /// Installs `plugin` under `domain`; empty removes it.
  void setPlugin(const std::string& domain, ZolSmartPointer<kyr::orla::appfw::IPluginInterface> plugin);
  /// Sets what isBatchMode answers.
  void setBatchMode(bool batch) noexcept { batch_.store(batch, std::memory_order_release); }

  /// Every event published through the executive, oldest first.
  std::vector<Publication> publications() const;
  /// Every message shown, oldest first.
  std::vector<ShownMessage> shownMessages() const;
  /// Drops plug-ins, flush target, product information, the event manager
  /// and the records (the host's shut-down).
  void clear();

  /// The name set (setCurrentModelName).
  Zol::ZolResult_24_8 getCurrentModelName(icu::UnicodeString& name) override;
  /// The modes set, in order.
  Zol::ZolResult_24_8 getActiveModes(ZolSequence<std::string>& modes) override;
  /// The host's event manager; empty after clear().
  Zol::ZolResult_24_8 getEventManager(ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface>& manager) override;
  /// Delivers the event to the event manager's subscribers (not journaled
  /// there) after recording it, whether or not `fire` is set.
  Zol::ZolResult_24_8 publishEvent(const std::string& sender, const Zol::Framework::ZolEvent& event,
                                   bool fire) override;
  /// flushTarget(), empty included.
  Zol::ZolResult_24_8 getFlushTarget(ZolSmartPointer<kyr::orla::appfw::IFlushTargetInterface>& target) override;
  /// productInfo(), empty included.
  Zol::ZolResult_24_8 getProductInfo(ZolSmartPointer<kyr::orla::appfw::IProductInfoInterface>& info) override;
  /// Records the result's code with `severity` and `details` (shownMessages);
  /// journaled with the argument "result <code>".
  Zol::ZolResult_24_8 showMessage(const Zol::ZolResult_24_8& result, kyr::orla::appfw::Severity severity,
                                  bool details) override;
  /// Records the text with `severity` (shownMessages).
  Zol::ZolResult_24_8 showMessage(const icu::UnicodeString& text, kyr::orla::appfw::Severity severity) override;
  /// The plug-in installed under `domain`; success with `plugin` left as it
  /// was when none is.
  Zol::ZolResult_24_8 getPlugin(const std::string& domain,
                                ZolSmartPointer<kyr::orla::appfw::IPluginInterface>& plugin) override;
  /// The batch mode set (false at first); an injected error result is
  /// ignored. Journaled as ZolIAppExecutive's.
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

/// @}

}  // namespace simhost
