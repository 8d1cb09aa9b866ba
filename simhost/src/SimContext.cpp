#include "simhost/SimContext.h"

namespace simhost {

Zol::ZolResult_24_8 SimContext::hostCall(HostCall call) {
  journal.record(call);
  return faults.apply(call);
}

}  // namespace simhost
