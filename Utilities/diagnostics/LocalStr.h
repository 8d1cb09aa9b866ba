/// \class kyr::orla::plugin::wyrdan::LocalStr
/// \ingroup wyrdan_diagnostics
/// A user text of the plug-in, named by numeric id or by key in the plug-in's
/// text translation table, with a fallback text. It translates on first use
/// and keeps the result; format() translates again with arguments.
///
/// \par Threads and exceptions
/// Not synchronised: a LocalStr serves one thread at a time, and initialize
/// runs before other threads translate. Host exceptions of the table, and in
/// initialize of its look-ups, pass to the caller.
///
/// \code
///   LocalStr::initialize(provider);  // once, after ServiceHelper::setZolServiceAccess
///   LocalStr title("MESH_DIALOG_TITLE", "Mesh");
///   icu::UnicodeString text = title.getUStr();  // the table's text, or u"Mesh"
///   LocalStr done(4711, "{0} plates meshed");
///   std::string line = done.format({Zol::ZolAny_24_8(12)}).getStr();
/// \endcode
///
/// The table is the one of the plug-in registered under "KYR.WyrdanPlugin",
/// found by initialize. Until then, or when the table lacks the message or
/// yields an empty text, the fallback text is used. The arguments of
/// format() are the host's any-values (\ref sdk). The table is shared by
/// every LocalStr of the process and held until unload (named to the
/// kernel's held-reference report).
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
  /// Message `id` with `defaultText` as fallback; an id of 0 names the
  /// message by the (empty) key instead. No host call.
  LocalStr(int id, const std::string& defaultText);
  /// Message `key` with `defaultText` as fallback. No host call.
  LocalStr(std::string key, const std::string& defaultText);
  /// Copies the name, the fallback and the text kept so far.
  LocalStr(const LocalStr& other);
  /// Takes over the name, the fallback and the kept text.
  LocalStr(LocalStr&& other) noexcept;
  /// Copies the name, the fallback and the text kept so far.
  LocalStr& operator=(const LocalStr& other);
  /// Takes over the name, the fallback and the kept text.
  LocalStr& operator=(LocalStr&& other) noexcept;
  /// The translation table, shared by every text, stays.
  ~LocalStr();

  /// Translates with `arguments` filling the message's places, keeps the
  /// result as the text (replacing a kept one) and returns this object. The
  /// fallback text is not formatted: without a table it is kept as written.
  /// The table's exceptions pass to the caller, the kept text unchanged.
  LocalStr& format(const ZolSequence<Zol::ZolAny_24_8>& arguments);

  /// The text. While none is kept, it is first translated without
  /// arguments and kept, so the table is asked once; an empty result (no
  /// text and an empty fallback) is not kept, and the next call asks again.
  /// The table's exceptions pass to the caller.
  icu::UnicodeString getUStr();
  /// getUStr() in UTF-8; throws what getUStr throws.
  std::string getStr();
  /// getUStr() as a wide string: UTF-16 where wchar_t has 16 bits
  /// (Windows), an unpaired surrogate copied as it is; UTF-32 where it has 32,
  /// an unpaired surrogate becoming U+FFFD. Throws what getUStr throws.
  std::wstring getWStr();

  /// Finds the translation table: keeps "KYR.WyrdanPlugin" as the domain and
  /// `provider`, and looks the plug-in registered under the domain up in the
  /// application executive (kyr::orla::appfw::MessageHelper). Calling it
  /// again looks up anew. Nothing is reported when a step finds nothing;
  /// texts then fall back. Host exceptions of the look-ups pass to the caller,
  /// with what was found before the failing step kept. Texts kept by existing
  /// LocalStr objects are not translated again.
  static void initialize(ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider);

 protected:
  /// One translation with `arguments`, not kept: the table's text for the id
  /// (or, when the id is 0, for the key); the fallback text when there is no
  /// table, the lookup fails or the text is empty. The table's exceptions
  /// pass to the caller.
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
