// CreateEntityHelper: the creation counterpart of EditEntityHelper. It holds
// the name it is constructed with and offers no operation of its own.
//
//   CreateEntityHelper helper("Rib");
//   CreateEntityHelper copy = helper;   // holds its own copy of the name
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT CreateEntityHelper {
 public:
  /// Keeps a copy of `name`.
  CreateEntityHelper(std::string const& name);  // NOLINT: implicit, as plug-ins use it

  CreateEntityHelper(CreateEntityHelper const& other);
  CreateEntityHelper(CreateEntityHelper&& other) noexcept;
  CreateEntityHelper& operator=(CreateEntityHelper const& other);
  /// Assigning a helper to itself changes nothing.
  CreateEntityHelper& operator=(CreateEntityHelper&& other) noexcept;
  ~CreateEntityHelper();

 private:
  std::string m_name;
};

}  // namespace kyr::orla::plugin::wyrdan
