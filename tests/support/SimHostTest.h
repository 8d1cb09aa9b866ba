// The fixture of the simulated host's own tests, and the small helpers
// several of them share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "HostTest.h"
#include "kyr/appfw/CmdParameters.h"

namespace testing_support {

/// A test on a fresh simulated host that looks services up by name.
class SimHostTest : public HostTest {
 protected:
  Zol::ZolResult_24_8 lookUp(const std::string& name) {
    Zol::ZolIService service;
    return host.provider().getService(name, "", service);
  }
};

/// `text` in UTF-8, as the journal shows it.
inline std::string utf8(const icu::UnicodeString& text) { return simhost::argumentText(text); }

/// A GUID told apart by its first field.
inline Zol::PersistenceFW::CAEData::GUIDDATA guidNumber(std::uint32_t number) {
  Zol::PersistenceFW::CAEData::GUIDDATA guid;
  guid.Data1 = number;
  guid.Data4[7] = 0x5a;
  return guid;
}

/// The host's failures so far, as text; forgets them.
inline std::vector<std::string> takeFailures(simhost::SimHost& host) {
  std::vector<std::string> texts;
  for (const auto& failure : host.failures().all()) texts.push_back(failure.text());
  host.failures().clear();
  return texts;
}

/// Writes one field of a record: a parameter list as a record holds it, its
/// count and then each parameter with its type code.
template <class T>
void writeField(Zol::ZolOutStream_24_8& out, const T& value) {
  Zol::marshaller_insert(out, value);
}
inline void writeField(Zol::ZolOutStream_24_8& out, const kyr::orla::appfw::CmdParameters& values) {
  Zol::marshaller_insert(out, static_cast<std::uint32_t>(values.size()));
  for (const auto& value : values) {
    Zol::marshaller_insert(out, kyr::orla::appfw::getTC_CmdParameter());
    Zol::marshaller_insert(out, value.name);
    Zol::marshaller_insert(out, value.value);
  }
}

/// An any of `type` whose stream holds `fields`, written in order, as a
/// plug-in writes a record.
template <class... F>
Zol::ZolAny_24_8 written(const Zol::ZolTypeCode_24_8& type, const F&... fields) {
  Zol::ZolAny_24_8 any;
  {
    Zol::ZolOutStream_24_8 out = any.initializeStream();
    (writeField(out, fields), ...);
  }
  any.setData(type);
  return any;
}

}  // namespace testing_support
