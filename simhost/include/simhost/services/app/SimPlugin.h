/// \file
/// The plug-in as the simulated host knows it: its numeric id and its text
/// translation table. Table texts are ICU message patterns, found by numeric
/// id or by key, whose numbered places ({0}, {1}, ...) the arguments fill:
/// 32- and 64-bit integers and doubles as numbers (English conventions),
/// narrow (UTF-8) and Unicode strings as text, bools as "true" or "false",
/// anything else as the journal renders it.
///
/// \code
///   host.pluginTexts().setText("MESH_DONE", u"{0} of {1} plates meshed");
///   host.pluginTexts().setText(12, u"Plate {0} has no material");
///   // the plug-in's getMessage("MESH_DONE", [3, 4]) writes "3 of 4 plates meshed"
/// \endcode
///
/// Host operations are journaled and fault-injectable (an injected error
/// result is returned before the operation does anything); the setters and
/// readers are the host's own access, not journaled. Every class is
/// thread-safe.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "kyr/appfw/IFrameworkAccess.h"
#include "simhost/testbed/SimObject.h"
#include "simhost/testbed/Synchronized.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

/// The plug-in's text translation table.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc. getMessage also throws
/// Zol::ZolSystemException_24 for a malformed argument.
class SIMHOST_EXPORT SimTextTranslationTable final
    : public SimObject<kyr::orla::appfw::ZolITextTranslationTableInterface> {
 public:
  using SimObject::SimObject;

  /// Sets the pattern of message `id` (of `key`), replacing an earlier one.
  void setText(std::int32_t id, icu::UnicodeString pattern);
  /// Sets the pattern of message `key`, replacing an earlier one.
  void setText(const std::string& key, icu::UnicodeString pattern);
  /// Removes message `id`; an unknown id is ignored.
  void removeText(std::int32_t id);
  /// Removes message `key`; an unknown key is ignored.
  void removeText(const std::string& key);

  /// Writes the message with `arguments` filled in. Fails, writing nothing,
  /// for an unknown id or key, a pattern ICU cannot read, or an injected
  /// fault. Throws Zol::ZolSystemException_24 for a malformed argument.
  Zol::ZolResult_24_8 getMessage(std::int32_t id, const ZolSequence<Zol::ZolAny_24_8>& arguments,
                                 icu::UnicodeString& text) override;
  /// The same for message `key`.
  Zol::ZolResult_24_8 getMessage(const std::string& key, const ZolSequence<Zol::ZolAny_24_8>& arguments,
                                 icu::UnicodeString& text) override;

 private:
  mutable std::mutex mutex_;
  std::map<std::int32_t, icu::UnicodeString> byId_;
  std::map<std::string, icu::UnicodeString> byKey_;
};

/// The plug-in installed in the application executive.
///
/// \par Threads and exceptions
/// Thread-safe. Its host operations throw what a fault armed for them throws
/// (an injected exception, or its callback's); its other members throw
/// nothing but std::bad_alloc.
class SIMHOST_EXPORT SimPlugin final : public SimObject<kyr::orla::appfw::IPluginInterface> {
 public:
  /// The plug-in named `name` in the journal, with `pluginId` and `table`.
  SimPlugin(SimContextPtr context, std::string name, std::int32_t pluginId,
            ZolSmartPointer<SimTextTranslationTable> table);

  /// The id given at construction.
  std::int32_t pluginId() const noexcept { return pluginId_; }
  /// Empty: getTextTranslationTable answers nothing.
  void setTable(ZolSmartPointer<SimTextTranslationTable> table) { table_.set(std::move(table)); }
  /// The table; empty when none is set.
  ZolSmartPointer<SimTextTranslationTable> table() const { return table_.get(); }

  /// pluginId().
  Zol::ZolResult_24_8 getPluginId(std::int32_t& id) override;
  /// table(), empty included.
  Zol::ZolResult_24_8 getTextTranslationTable(
      ZolSmartPointer<kyr::orla::appfw::ZolITextTranslationTableInterface>& table) override;

 private:
  const std::int32_t pluginId_;
  Synchronized<ZolSmartPointer<SimTextTranslationTable>> table_;
};

/// @}

}  // namespace simhost
