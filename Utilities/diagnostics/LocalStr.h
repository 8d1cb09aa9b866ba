// LocalStr: a user text of the plug-in, named by numeric id or by key in the
// plug-in's text translation table, with a fallback text. It translates on
// first use and keeps the result; format() translates again with arguments.
//
//   LocalStr::initialize(provider);  // once, after ServiceHelper::setZolServiceAccess
//   LocalStr title("MESH_DIALOG_TITLE", "Mesh");
//   icu::UnicodeString text = title.getUStr();  // the table's text, or u"Mesh"
//   LocalStr done(4711, "{0} plates meshed");
//   std::string line = done.format({Zol::ZolAny_24_8(12)}).getStr();
//
// The table is the one of the plug-in registered under "KYR.WyrdanPlugin",
// found by initialize. Until then, or when the table lacks the message or
// yields an empty text, the fallback text is used. Host exceptions of the
// table pass to the caller. A LocalStr is not synchronised; initialize runs
// before other threads translate.
#pragma once

#include <string>

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "zol/framework/ZolIServiceProvider.h"
#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolHoldings.h"
#include "zol/kernel/ZolSequence.h"

namespace kyr::orla::appfw {
class MessageHelper;
}

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT LocalStr {
 public:
  /// Message `id` (not 0) with `defaultText` as fallback.
  LocalStr(int id, const std::string& defaultText);
  /// Message `key` with `defaultText` as fallback.
  LocalStr(std::string key, const std::string& defaultText);
  LocalStr(const LocalStr& other);
  LocalStr(LocalStr&& other) noexcept;
  LocalStr& operator=(const LocalStr& other);
  LocalStr& operator=(LocalStr&& other) noexcept;
  ~LocalStr();

  /// Translates with `arguments` filling the message's places, keeps the
  /// result as the text (replacing a kept one) and returns this object.
  LocalStr& format(const ZolSequence<Zol::ZolAny_24_8>& arguments);

  /// The text. While none is kept, it is first translated without
  /// arguments and kept, so the table is asked once.
  icu::UnicodeString getUStr();
  /// getUStr() in UTF-8.
  std::string getStr();
  /// getUStr() as a wide string.
  std::wstring getWStr();

  /// Finds the translation table: keeps "KYR.WyrdanPlugin" as the domain and
  /// `provider`, and looks the plug-in registered under the domain up in the
  /// application executive (kyr::orla::appfw::MessageHelper). Calling it
  /// again looks up anew. Nothing is reported when a step finds nothing;
  /// texts then fall back. Host exceptions of the look-ups pass to the caller.
  static void initialize(ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider);

 protected:
  /// One translation with `arguments`, not kept: the table's text for the id
  /// (or, when the id is 0, for the key); the fallback text when there is no
  /// table, the lookup fails or the text is empty.
  icu::UnicodeString loadRes(const ZolSequence<Zol::ZolAny_24_8>& arguments) const;

 private:
  int m_id;
  std::string m_key;
  std::string m_defaultText;
  icu::UnicodeString m_text;

  static kyr::orla::appfw::MessageHelper m_msgHelper;
  static const Zol::ZolHoldingsRegistration m_holdings;
};

}  // namespace kyr::orla::plugin::wyrdan
