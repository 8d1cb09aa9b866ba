#include "simhost/testbed/ArgumentText.h"

#include <cstdint>
#include <cstdio>

#include "zol/kernel/ZolStringUtility.h"

namespace simhost {

namespace {

// The value of a scalar or string any, or false when it holds another type.
bool appendValue(const Zol::ZolAny_24_8& value, std::string& text) {
  std::int32_t int32 = 0;
  std::uint32_t uint32 = 0;
  std::int64_t int64 = 0;
  std::uint64_t uint64 = 0;
  double real = 0;
  bool flag = false;
  std::string narrow;
  icu::UnicodeString wide;
  if (Zol::extractZolAny(value, int32)) return text += argumentText(int32), true;
  if (Zol::extractZolAny(value, uint32)) return text += argumentText(uint32), true;
  if (Zol::extractZolAny(value, int64)) return text += argumentText(int64), true;
  if (Zol::extractZolAny(value, uint64)) return text += argumentText(uint64), true;
  if (Zol::extractZolAny(value, real)) return text += std::to_string(real), true;
  if (Zol::extractZolAny(value, flag)) return text += argumentText(flag), true;
  if (Zol::extractZolAny(value, narrow)) return text += "\"" + narrow + "\"", true;
  if (Zol::extractZolAny(value, wide)) return text += "\"" + argumentText(wide) + "\"", true;
  return false;
}

}  // namespace

std::string argumentText(std::string_view text) { return std::string(text); }

std::string argumentText(bool value) { return value ? "true" : "false"; }

std::string argumentText(const icu::UnicodeString& text) {
  return Zol::baseStringUtilityInstance_24_8().stringFromUString(text, true);
}

std::string argumentText(const Zol::PersistenceFW::CAEData::EntityReference& reference) {
  return "(" + std::to_string(reference.first) + ", " + std::to_string(reference.second) + ", " +
         std::to_string(reference.third) + ")";
}

std::string argumentText(const Zol::PersistenceFW::CAEData::GUIDDATA& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.Data1, guid.Data2,
                guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

std::string argumentText(const Zol::ZolAny_24_8& value) {
  if (value.holdsNothing()) return "nothing";
  std::string text = value.getTypeCode().getName();
  text += ' ';
  if (!appendValue(value, text)) text += std::to_string(value.streamSize()) + " bytes";
  return text;
}

std::string argumentText(const kyr::orla::appfw::CmdParameter& parameter) {
  return parameter.name + " = " + argumentText(parameter.value);
}

std::string argumentText(const kyr::orla::appfw::CmdOptions& options) {
  std::string text = "{";
  for (std::size_t position = 0; position < options.flags.size(); ++position) {
    if (options.flags[position]) text += (text.size() > 1 ? ", " : "") + std::to_string(position);
  }
  return text + "}";
}

std::string argumentText(const Zol::Framework::ZolEvent& event) {
  return "domain " + std::to_string(event.domainId) + ", event " + std::to_string(event.eventId) + ", " +
         argumentText(event.data);
}

}  // namespace simhost
