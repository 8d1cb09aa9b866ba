#include "Describe.h"

#include "zol/kernel/ZolStringUtility.h"

namespace demo {

std::string describe(const Zol::ZolIService& service) {
  if (!service) return "(none)";
  return "\"" + service->getServiceName() + "\" #" + std::to_string(service->getServiceId());
}

std::string describe(const Zol::ZolAny_24_8& value) {
  if (value.holdsNothing()) return "(nothing)";
  std::string text;
  std::int32_t number = 0;
  bool flag = false;
  icu::UnicodeString wide;
  Zol::ZolIService object;
  if (Zol::extractZolAny(value, number)) {
    text = std::to_string(number);
  } else if (Zol::extractZolAny(value, flag)) {
    text = flag ? "true" : "false";
  } else if (Zol::extractZolAny(value, text)) {
    text = "\"" + text + "\"";
  } else if (Zol::extractZolAny(value, wide)) {
    text = "\"" + Zol::baseStringUtilityInstance_24_8().stringFromUString(wide, true) + "\"";
  } else if (value.getTypeCode() == kyr::orla::appfw::getTC_CmdParameters()) {
    text = describe(kyr::orla::plugin::wyrdan::DataBunch(value));
  } else if (value.objectCount() == 1) {
    Zol::ZolInStream_24_8 in = value.openStream();
    Zol::marshaller_extract(in, object);
    text = "object " + describe(object);
  } else {
    text = std::to_string(value.streamSize()) + " bytes";
  }
  return text + " (" + value.getTypeCode().getName() + ")";
}

std::string describe(const kyr::orla::plugin::wyrdan::DataBunch& bunch) {
  std::string text = "{";
  for (const auto& [key, value] : bunch) text += (text.size() > 1 ? ", " : "") + key + ": " + describe(value);
  return text + "}";
}

std::string describe(const kyr::orla::appfw::CmdParameters& params) {
  std::string text = "[";
  for (const auto& param : params) {
    text += (text.size() > 1 ? ", " : "") + param.name + ": " + describe(param.value);
  }
  return text + "]";
}

}  // namespace demo
