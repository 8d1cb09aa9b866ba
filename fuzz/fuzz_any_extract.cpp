// Arbitrary bytes as an any-value's stream, read by the kernel's any
// extraction as a sequence of nested any-values, each read back as its own
// type. Malformed input must end in a kernel exception; every value that
// reads must marshal and read back equal.
#include <cstddef>
#include <cstdint>
#include <string>

#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolException.h"

namespace {

void readAsItsType(const Zol::ZolAny_24_8& value) {
  std::string narrow;
  icu::UnicodeString wide;
  std::int32_t number = 0;
  bool flag = false;
  double real = 0;
  Zol::extractZolAny(value, narrow) || Zol::extractZolAny(value, wide) || Zol::extractZolAny(value, number) ||
      Zol::extractZolAny(value, flag) || Zol::extractZolAny(value, real);
}

void roundTrip(const Zol::ZolAny_24_8& value) {
  Zol::ZolAny_24_8 carrier;
  Zol::ZolOutStream_24_8 out = carrier.initializeStream();
  Zol::marshaller_insert(out, value);
  carrier.setData(Zol::getTC_Zol_ZolString_24_8());
  Zol::ZolInStream_24_8 in = carrier.openStream();
  Zol::ZolAny_24_8 back;
  Zol::marshaller_extract(in, back);
  if (back != value || !in.atEnd()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  out.writeBytes(data, size);
  any.setData(Zol::getTC_Zol_ZolString_24_8());
  try {
    Zol::ZolInStream_24_8 in = any.openStream();
    while (!in.atEnd()) {
      Zol::ZolAny_24_8 value;
      Zol::marshaller_extract(in, value);
      roundTrip(value);
      readAsItsType(value);
    }
  } catch (const Zol::ZolException_24&) {
    // The expected answer to a malformed stream.
  }
  return 0;
}
