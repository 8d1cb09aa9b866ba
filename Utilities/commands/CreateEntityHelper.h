/// \class kyr::orla::plugin::wyrdan::CreateEntityHelper
/// \ingroup wyrdan_commands
/// The creation counterpart of EditEntityHelper. It holds the name it is
/// constructed with and offers no operation of its own: nothing reads the
/// name back, and no host call is made.
///
/// \par Threads and exceptions
/// A plain value: one thread at a time; members throw nothing but
/// std::bad_alloc.
///
/// \code
///   CreateEntityHelper helper("Rib");
///   CreateEntityHelper copy = helper;   // holds its own copy of the name
/// \endcode
#pragma once

#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT CreateEntityHelper {
 public:
  /// Keeps a copy of `name`.
  CreateEntityHelper(std::string const& name);  // NOLINT: implicit, as plug-ins use it

  /// Copies the name.
  CreateEntityHelper(CreateEntityHelper const& other);
  /// Takes the name over.
  CreateEntityHelper(CreateEntityHelper&& other) noexcept;
  /// Copies the name.
  CreateEntityHelper& operator=(CreateEntityHelper const& other);
  /// Takes the name over; assigning a helper to itself changes nothing.
  CreateEntityHelper& operator=(CreateEntityHelper&& other) noexcept;
  /// Nothing to release: the helper holds only its name.
  ~CreateEntityHelper();

 private:
  std::string m_name;
};

}  // namespace kyr::orla::plugin::wyrdan
