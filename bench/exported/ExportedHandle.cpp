#include "exported/ExportedHandle.h"

namespace bench {

namespace {
Zol::ZolIService kept;
}

void keepExportedHandle(const Zol::ZolIService& service) { kept = service; }

Zol::ZolIService exportedHandle() { return kept; }

}  // namespace bench
