#include "WyrdanPluginUtilities/events/IZolEventHandler.h"

namespace kyr::orla::plugin::wyrdan {

IZolEventHandler::~IZolEventHandler() = default;

}  // namespace kyr::orla::plugin::wyrdan
