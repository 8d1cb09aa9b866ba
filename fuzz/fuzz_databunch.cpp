// Arbitrary bytes as the stream of a command-parameter-list any-value, into
// DataBunch. Malformed streams must end in a kernel exception, and the
// kernel's list reader must agree. Nothing may be lost silently: an accepted
// stream re-encodes as a list to exactly its bytes, and the bunch differs
// from that list only as a bunch must (keys sorted bytewise, the last value
// of a repeated key kept).
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "zol/kernel/ZolException.h"

using kyr::orla::appfw::CmdParameters;
using kyr::orla::plugin::wyrdan::DataBunch;

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// What a bunch made from `list` must hold, as a list in key order.
CmdParameters asBunchOrder(const CmdParameters& list) {
  std::map<std::string, Zol::ZolAny_24_8> last;
  for (const auto& parameter : list) last[parameter.name] = parameter.value;
  CmdParameters ordered;
  for (const auto& [name, value] : last) ordered.push_back({name, value});
  return ordered;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  out.writeBytes(data, size);
  any.setData(kyr::orla::appfw::getTC_CmdParameters());

  bool bunchAccepted = false;
  bool listAccepted = false;
  DataBunch bunch;
  CmdParameters list;
  try {
    bunch = DataBunch(any);
    bunchAccepted = true;
  } catch (const Zol::ZolException_24&) {
    // The expected answer to a malformed stream.
  }
  try {
    list = kyr::orla::appfw::cmdParametersFromAny(any);
    listAccepted = true;
  } catch (const Zol::ZolException_24&) {
  }
  require(bunchAccepted == listAccepted);
  if (!bunchAccepted) return 0;

  if (size == 0) {
    require(bunch.empty() && list.empty());
    return 0;
  }
  require(kyr::orla::appfw::cmdParametersToAny(list).streamBytes() == any.streamBytes());
  require(bunch.toCmdParams() == asBunchOrder(list));
  require(DataBunch(bunch.toZolAny()).toCmdParams() == bunch.toCmdParams());
  return 0;
}
