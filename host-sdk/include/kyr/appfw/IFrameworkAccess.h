// The application framework's access object, offered by the
// "kyr.orla.appfw.AppExecutive" service and set as
// ServiceCacheAppFrame::frameworkAccess_: the current model's name, the active
// application modes, the event manager and publishing in a sender's name,
// the flush target, product information, messages to the user and the
// installed plug-ins with their text translation tables.
//
//   ZolSmartPointer<IFrameworkAccessInterface> access = ServiceCacheAppFrame::frameworkAccess_;
//   icu::UnicodeString model;
//   if (access && access->getCurrentModelName(model).isOk() && model != u"none") { ... }
#pragma once

#include <cstdint>
#include <string>

#include <unicode/unistr.h>

#include "zol/framework/ZolIEventManager.h"
#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace kyr::orla::appfw {

/// The severity of a message to the user; the values are indices 0 to 3.
enum Severity : std::int32_t {
  SeverityDebug = 0,
  SeverityInfo = 1,
  SeverityWarning = 2,
  SeverityError = 3,
};

/// A plug-in's table of user texts ("Zol.Framework.ZolITextTranslationTable").
/// Arguments fill the text's numbered places ({0}, {1}, ...).
class ZolITextTranslationTableInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Zol.Framework.ZolITextTranslationTable"};
  /// Writes the text of message `id` with `arguments` filled in; fails,
  /// writing nothing, for an id the table lacks.
  virtual Zol::ZolResult_24_8 getMessage(std::int32_t id, const ZolSequence<Zol::ZolAny_24_8>& arguments,
                                         icu::UnicodeString& text) = 0;
  /// The same for the message named `key`.
  virtual Zol::ZolResult_24_8 getMessage(const std::string& key, const ZolSequence<Zol::ZolAny_24_8>& arguments,
                                         icu::UnicodeString& text) = 0;
};

/// An installed plug-in ("kyr.orla.appfw.IPlugin").
class IPluginInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IPlugin"};
  virtual Zol::ZolResult_24_8 getPluginId(std::int32_t& id) = 0;
  virtual Zol::ZolResult_24_8 getTextTranslationTable(ZolSmartPointer<ZolITextTranslationTableInterface>& table) = 0;
};

/// What the running product is ("kyr.orla.appfw.IProductInfo").
class IProductInfoInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IProductInfo"};
  virtual Zol::ZolResult_24_8 getProductName(icu::UnicodeString& name) = 0;
};

/// The object the framework flushes pending edits into before the model is
/// saved ("kyr.orla.appfw.IFlushTarget").
class IFlushTargetInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IFlushTarget"};
  virtual void flush() = 0;
};

/// ("kyr.orla.appfw.IFrameworkAccess")
class IFrameworkAccessInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IFrameworkAccess"};

  /// The name of the open model; "none" when no model is open.
  virtual Zol::ZolResult_24_8 getCurrentModelName(icu::UnicodeString& name) = 0;
  /// The names of the application modes that are active now.
  virtual Zol::ZolResult_24_8 getActiveModes(ZolSequence<std::string>& modes) = 0;
  virtual Zol::ZolResult_24_8 getEventManager(ZolSmartPointer<Zol::Framework::ZolIEventManagerInterface>& manager) = 0;
  /// Publishes `event` through the event manager in the name of `sender`;
  /// `fire` delivers it before returning.
  virtual Zol::ZolResult_24_8 publishEvent(const std::string& sender, const Zol::Framework::ZolEvent& event,
                                           bool fire) = 0;
  /// Writes the current flush target; nothing when there is none.
  virtual Zol::ZolResult_24_8 getFlushTarget(ZolSmartPointer<IFlushTargetInterface>& target) = 0;
  virtual Zol::ZolResult_24_8 getProductInfo(ZolSmartPointer<IProductInfoInterface>& info) = 0;
  /// Shows a host result to the user; `details` asks for its full text.
  virtual Zol::ZolResult_24_8 showMessage(const Zol::ZolResult_24_8& result, Severity severity, bool details) = 0;
  virtual Zol::ZolResult_24_8 showMessage(const icu::UnicodeString& text, Severity severity) = 0;
  /// Writes the plug-in registered under `domain`; nothing when there is none.
  virtual Zol::ZolResult_24_8 getPlugin(const std::string& domain, ZolSmartPointer<IPluginInterface>& plugin) = 0;
};

/// The application executive's own face ("kyr.orla.appfw.ZolIAppExecutive").
class ZolIAppExecutiveInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolIAppExecutive"};
  /// Whether the application runs without a user to answer dialogs (a batch
  /// or scripted run): pop-ups are then not shown.
  virtual bool isBatchMode() = 0;
};

}  // namespace kyr::orla::appfw
