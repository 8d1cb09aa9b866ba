// Arbitrary bytes as the stream of a command-parameter-list any-value, into
// DataBunch. Malformed streams must end in a kernel exception; a stream that
// unpacks must survive the bunch's own round trip unchanged.
#include <cstddef>
#include <cstdint>

#include "commands/DataBunch.h"
#include "zol/kernel/ZolException.h"

using kyr::orla::plugin::wyrdan::DataBunch;

namespace {

bool sameEntries(const DataBunch& a, const DataBunch& b) {
  auto left = a.begin();
  auto right = b.begin();
  for (; left != a.end() && right != b.end(); ++left, ++right) {
    if (left->first != right->first || left->second != right->second) return false;
  }
  return left == a.end() && right == b.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  out.writeBytes(data, size);
  any.setData(Zol::getCachedTypeCodeInit_24_8(kyr::orla::appfw::kCmdParametersTypeId));
  try {
    const DataBunch bunch(any);
    const DataBunch again(bunch.toZolAny());
    if (!sameEntries(bunch, again)) __builtin_trap();
  } catch (const Zol::ZolException_24&) {
    // The expected answer to a malformed stream.
  }
  return 0;
}
