// Arbitrary bytes as an any-value's stream, read by the kernel's any
// extraction as a sequence of nested any-values. Malformed input must end in
// a kernel exception. Nothing may be lost silently: every value that reads
// re-encodes to exactly the bytes it was read from, and a value that reads
// as its own type re-encodes from that type to the same stream.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolException.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// The bytes marshaller_insert writes for `value`.
std::string encoded(const Zol::ZolAny_24_8& value) {
  Zol::ZolAny_24_8 carrier;
  Zol::ZolOutStream_24_8 out = carrier.initializeStream();
  Zol::marshaller_insert(out, value);
  carrier.setData(Zol::getTC_Zol_ZolString_24_8());
  return std::string(carrier.streamBytes());
}

template <class T>
bool readsBackAs(const Zol::ZolAny_24_8& value) {
  T read{};
  if (!Zol::extractZolAny(value, read)) return false;
  require(Zol::makeZolAny(read) == value);
  return true;
}

void readAsItsType(const Zol::ZolAny_24_8& value) {
  try {
    readsBackAs<std::string>(value) || readsBackAs<icu::UnicodeString>(value) || readsBackAs<std::int32_t>(value) ||
        readsBackAs<std::uint32_t>(value) || readsBackAs<std::int64_t>(value) || readsBackAs<std::uint64_t>(value) ||
        readsBackAs<bool>(value) || readsBackAs<double>(value);
  } catch (const Zol::ZolException_24&) {
    // A stream that is not exactly one value of its type.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  out.writeBytes(data, size);
  any.setData(Zol::getTC_Zol_ZolString_24_8());
  const std::string_view bytes = any.streamBytes();
  try {
    Zol::ZolInStream_24_8 in = any.openStream();
    while (!in.atEnd()) {
      const std::size_t start = size - in.remaining();
      Zol::ZolAny_24_8 value;
      Zol::marshaller_extract(in, value);
      const std::size_t end = size - in.remaining();
      require(encoded(value) == bytes.substr(start, end - start));
      readAsItsType(value);
    }
  } catch (const Zol::ZolException_24&) {
    // The expected answer to a malformed stream.
  }
  return 0;
}
