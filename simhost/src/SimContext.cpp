#include "simhost/SimContext.h"

namespace simhost {

Zol::ZolResult_24_8 SimContext::hostCall(const char* interfaceName, const char* operation, std::string arguments) {
  std::string name(interfaceName);
  std::string op(operation);
  journal.record(HostCall{name, op, arguments});
  return faults.apply(name, op, arguments);
}

}  // namespace simhost
