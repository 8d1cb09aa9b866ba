// The text of the cast exception an operation raises, for tests of the
// throwing casts: "Cast from interface Zol.ZolIService to <target> failed. ...".
#pragma once

#include <string>

#include "zol/kernel/ZolException.h"

namespace testing_support {

/// The text of the Zol::ZolSystemException_24 that `operation` raises;
/// "no exception" when it returns normally. Other exceptions propagate.
template <class Operation>
std::string castFailure(Operation operation) {
  try {
    operation();
  } catch (const Zol::ZolSystemException_24& e) {
    return e.getText();
  }
  return "no exception";
}

/// The text of a failed cast to `target` of an object without that interface.
inline std::string missingInterface(const std::string& target) {
  return "Cast from interface Zol.ZolIService to " + target +
         " failed. Object does not implement the desired interface.";
}

}  // namespace testing_support
