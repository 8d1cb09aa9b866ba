/// \file
/// How the simulated host writes the arguments of a host call as text. The
/// host uses these when it journals a call, and CallPattern::with uses them
/// for the arguments a test expects, so both sides render alike and a test
/// names typed values instead of guessing the journal's text.
///
/// \code
///   simhost::argumentText(std::string())           // ""
///   simhost::argumentText(plate->reference())      // "(5, 1, 0)"
///   simhost::argumentText(part->guid())            // "{0000002A-0000-0000-0000-000000000000}"
///   simhost::argumentText(Zol::ZolAny_24_8(4))     // "Zol.Int32 4"
///   simhost::argumentText(Zol::Framework::ZolEvent{12, 2, Zol::ZolAny_24_8(5)})
///                                                  // "domain 12, event 2, Zol.Int32 5"
/// \endcode
///
/// The functions keep no state: any thread may call them.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include <unicode/unistr.h>

#include "kyr/appfw/ICmdProcessor.h"
#include "simhost/SimHostExport.h"
#include "zol/framework/ZolIEventManager.h"
#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolSequence.h"
#include "zol/persistence/EntityReference.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// The text itself.
SIMHOST_EXPORT std::string argumentText(std::string_view text);
/// The text itself.
inline std::string argumentText(const std::string& text) { return argumentText(std::string_view(text)); }
/// The text itself; `text` must not be null.
inline std::string argumentText(const char* text) { return argumentText(std::string_view(text)); }
/// "true" or "false".
SIMHOST_EXPORT std::string argumentText(bool value);
/// The number in decimal.
template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool>, int> = 0>
std::string argumentText(T value) {
  return std::to_string(value);
}
/// The text in UTF-8.
SIMHOST_EXPORT std::string argumentText(const icu::UnicodeString& text);
/// "(first, second, third)"; the container is not shown.
SIMHOST_EXPORT std::string argumentText(const Zol::PersistenceFW::CAEData::EntityReference& reference);
/// "{0000002A-0001-0002-0304-05060708090A}": the GUID's fields in upper-case
/// hexadecimal, as the platform writes them.
SIMHOST_EXPORT std::string argumentText(const Zol::PersistenceFW::CAEData::GUIDDATA& guid);
/// The type name, then the value for scalars and strings ("Zol.Int32 4",
/// "Zol.ZolString \"steel\""); "nothing" for an any holding nothing.
SIMHOST_EXPORT std::string argumentText(const Zol::ZolAny_24_8& value);
/// "name = value", the value as for an any.
SIMHOST_EXPORT std::string argumentText(const kyr::orla::appfw::CmdParameter& parameter);
/// The positions of the flags that are set: "{0, 4, 13}".
SIMHOST_EXPORT std::string argumentText(const kyr::orla::appfw::CmdOptions& options);
/// "domain <id>, event <id>, <payload as for an any>".
SIMHOST_EXPORT std::string argumentText(const Zol::Framework::ZolEvent& event);
/// "<service name> #<service id>", or "null" for an empty pointer.
template <class I>
std::string argumentText(const ZolSmartPointer<I>& object) {
  return object ? object->getServiceName() + " #" + std::to_string(object->getServiceId()) : "null";
}
/// "[a, b, ...]" of the elements' texts.
template <class T>
std::string argumentText(const ZolSequence<T>& elements) {
  std::string text = "[";
  for (const T& element : elements) text += (text.size() > 1 ? ", " : "") + argumentText(element);
  return text + "]";
}

/// @}

}  // namespace simhost
