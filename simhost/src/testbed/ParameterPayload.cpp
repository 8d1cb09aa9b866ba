#include "ParameterPayload.h"

#include "simhost/testbed/ArgumentText.h"

namespace simhost::internal {

ParameterPayload::ParameterPayload(const Zol::ZolAny_24_8& payload) {
  if (!kyr::orla::appfw::holdsCmdParameters(payload)) {
    note("not a parameter list: " + argumentText(payload));
    return;
  }
  try {
    parameters_ = kyr::orla::appfw::cmdParametersFromAny(payload);
  } catch (const Zol::ZolException_24& e) {
    note("a malformed parameter list: " + e.getText());
  }
}

ParameterPayload::ParameterPayload(kyr::orla::appfw::CmdParameters parameters) : parameters_(std::move(parameters)) {}

const Zol::ZolAny_24_8* ParameterPayload::find(const std::string& key) {
  const Zol::ZolAny_24_8* found = nullptr;
  for (const kyr::orla::appfw::CmdParameter& parameter : parameters_) {
    if (parameter.name == key) found = &parameter.value;
  }
  // A list that did not decode has had its problem noted already.
  if (found == nullptr && ok()) note("no \"" + key + "\"");
  return found;
}

kyr::orla::appfw::CmdParameters ParameterPayload::takeList(const std::string& key) {
  const Zol::ZolAny_24_8* value = find(key);
  if (value == nullptr) return {};
  if (!kyr::orla::appfw::holdsCmdParameters(*value)) {
    noteType(key, *value, kyr::orla::appfw::getTC_CmdParameters().getName());
    return {};
  }
  try {
    return kyr::orla::appfw::cmdParametersFromAny(*value);
  } catch (const Zol::ZolException_24& e) {
    note("\"" + key + "\" is a malformed parameter list: " + e.getText());
    return {};
  }
}

void ParameterPayload::noteType(const std::string& key, const Zol::ZolAny_24_8& value, const std::string& expected) {
  note("\"" + key + "\" is " + (value.holdsNothing() ? std::string("nothing") : value.getTypeCode().getName()) +
       ", not " + expected);
}

void ParameterPayload::note(const std::string& problem) { problems_ += (problems_.empty() ? "" : "; ") + problem; }

}  // namespace simhost::internal
