// Registers, for as long as the library is loaded, the creators of the host
// exception types that can reach the plug-in, so the kernel rebuilds them
// with their own C++ types.
#include <memory>
#include <string>

#include "zol/kernel/ZolHostExceptions.h"

namespace {

template <class E>
std::unique_ptr<Zol::ZolException_24> create(std::int32_t code, const std::string& text) {
  return std::make_unique<E>(code, text);
}

template <class... E>
struct CreatorRegistration {
  CreatorRegistration() { (Zol::registerCreator(E::kTypeName, &create<E>), ...); }
  ~CreatorRegistration() { (Zol::unregisterCreator(E::kTypeName), ...); }
  CreatorRegistration(const CreatorRegistration&) = delete;
  CreatorRegistration& operator=(const CreatorRegistration&) = delete;
};

const CreatorRegistration<Zol::EOM::DependencyManagerException, Zol::Util::SystemUtils::FileNoAccessException,
                          Zol::Util::SystemUtils::IncompatiblePathsException,
                          Zol::Framework::Reflection::TypeCodeException,
                          Zol::Services::TypeRegistry::TypeRegistryException, kyr::orla::appfw::UndoRedoFWException>
    registration;

}  // namespace
