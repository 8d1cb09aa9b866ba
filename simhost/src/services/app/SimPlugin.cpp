#include "simhost/services/app/SimPlugin.h"

#include <vector>

#include <unicode/fieldpos.h>
#include <unicode/fmtable.h>
#include <unicode/locid.h>
#include <unicode/msgfmt.h>

#include "simhost/testbed/ArgumentText.h"

namespace simhost {

namespace {

// One argument as ICU formats it.
icu::Formattable formattable(const Zol::ZolAny_24_8& value) {
  if (std::int32_t number = 0; Zol::extractZolAny(value, number)) return icu::Formattable(number);
  if (std::uint32_t number = 0; Zol::extractZolAny(value, number)) {
    return icu::Formattable(static_cast<std::int64_t>(number));
  }
  if (std::int64_t number = 0; Zol::extractZolAny(value, number)) return icu::Formattable(number);
  if (std::uint64_t number = 0; Zol::extractZolAny(value, number)) {
    // A decimal number: exact beyond the range of int64_t.
    UErrorCode status = U_ZERO_ERROR;
    icu::Formattable decimal(icu::StringPiece(std::to_string(number)), status);
    if (U_SUCCESS(status)) return decimal;
  }
  if (double number = 0; Zol::extractZolAny(value, number)) return icu::Formattable(number);
  if (bool flag = false; Zol::extractZolAny(value, flag))
    return icu::Formattable(icu::UnicodeString(flag ? u"true" : u"false"));
  if (std::string text; Zol::extractZolAny(value, text)) return icu::Formattable(icu::UnicodeString::fromUTF8(text));
  if (icu::UnicodeString text; Zol::extractZolAny(value, text)) return icu::Formattable(text);
  return icu::Formattable(icu::UnicodeString::fromUTF8(argumentText(value)));
}

Zol::ZolResult_24_8 fillIn(const icu::UnicodeString& pattern, const ZolSequence<Zol::ZolAny_24_8>& arguments,
                           icu::UnicodeString& text) {
  std::vector<icu::Formattable> values;
  values.reserve(arguments.size());
  for (const Zol::ZolAny_24_8& argument : arguments) values.push_back(formattable(argument));
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  const icu::MessageFormat format(pattern, icu::Locale::getEnglish(), parseError, status);
  icu::UnicodeString result;
  icu::FieldPosition position(icu::FieldPosition::DONT_CARE);
  format.format(values.data(), static_cast<std::int32_t>(values.size()), result, position, status);
  if (U_FAILURE(status)) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
  text = result;
  return {};
}

}  // namespace

void SimTextTranslationTable::setText(std::int32_t id, icu::UnicodeString pattern) {
  std::lock_guard<std::mutex> lock(mutex_);
  byId_[id] = std::move(pattern);
}

void SimTextTranslationTable::setText(const std::string& key, icu::UnicodeString pattern) {
  std::lock_guard<std::mutex> lock(mutex_);
  byKey_[key] = std::move(pattern);
}

void SimTextTranslationTable::removeText(std::int32_t id) {
  std::lock_guard<std::mutex> lock(mutex_);
  byId_.erase(id);
}

void SimTextTranslationTable::removeText(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  byKey_.erase(key);
}

Zol::ZolResult_24_8 SimTextTranslationTable::getMessage(std::int32_t id, const ZolSequence<Zol::ZolAny_24_8>& arguments,
                                                        icu::UnicodeString& text) {
  if (auto answered = call("getMessage", id, arguments, out(text))) return *answered;
  icu::UnicodeString pattern;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = byId_.find(id);
    if (it == byId_.end()) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
    pattern = it->second;
  }
  return fillIn(pattern, arguments, text);
}

Zol::ZolResult_24_8 SimTextTranslationTable::getMessage(const std::string& key,
                                                        const ZolSequence<Zol::ZolAny_24_8>& arguments,
                                                        icu::UnicodeString& text) {
  if (auto answered = call("getMessage", key, arguments, out(text))) return *answered;
  icu::UnicodeString pattern;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = byKey_.find(key);
    if (it == byKey_.end()) return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure);
    pattern = it->second;
  }
  return fillIn(pattern, arguments, text);
}

SimPlugin::SimPlugin(SimContextPtr context, std::string name, std::int32_t pluginId,
                     ZolSmartPointer<SimTextTranslationTable> table)
    : SimObject(std::move(context), std::move(name)), pluginId_(pluginId), table_(std::move(table)) {}

Zol::ZolResult_24_8 SimPlugin::getPluginId(std::int32_t& id) {
  if (auto answered = call("getPluginId", out(id))) return *answered;
  id = pluginId_;
  return {};
}

Zol::ZolResult_24_8 SimPlugin::getTextTranslationTable(
    ZolSmartPointer<kyr::orla::appfw::ZolITextTranslationTableInterface>& table) {
  if (auto answered = call("getTextTranslationTable", out(table))) return *answered;
  table = table_.get();
  return {};
}

}  // namespace simhost
