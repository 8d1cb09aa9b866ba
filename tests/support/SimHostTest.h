// The fixture of the simulated host's own tests, and the small helpers
// several of them share.
#pragma once

#include <cstdint>
#include <string>

#include "HostTest.h"

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

}  // namespace testing_support
