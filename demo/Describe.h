// Renders host values for the transcript.
#pragma once

#include <string>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "zol/kernel/ZolAny.h"

namespace demo {

/// "\"name\" #id", or "(none)".
std::string describe(const Zol::ZolIService& service);
/// The value with its type, e.g. `3 (Zol.Int32)`.
std::string describe(const Zol::ZolAny_24_8& value);
/// "{key: value, ...}" in key order.
std::string describe(const kyr::orla::plugin::wyrdan::DataBunch& bunch);
/// "[name: value, ...]" in list order.
std::string describe(const kyr::orla::appfw::CmdParameters& params);

}  // namespace demo
