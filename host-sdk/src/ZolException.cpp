#include "zol/kernel/ZolException.h"

#include <map>
#include <mutex>
#include <vector>

#include "zol/kernel/ZolHostExceptions.h"

namespace Zol {

ZolException_24::ZolException_24(std::int32_t code, std::string text) : code_(code), text_(std::move(text)) {}
ZolException_24::~ZolException_24() = default;

const char* ZolException_24::getTypeName() const noexcept { return "Zol.ZolException"; }

std::unique_ptr<ZolException_24> ZolException_24::clone() const { return std::make_unique<ZolException_24>(*this); }

void ZolException_24::applyErrorPolicy(const char* policy) { policy_ = policy ? policy : ""; }

void ZolException_24::throwit(const char* policy) {
  applyErrorPolicy(policy);
  std::rethrow_exception(copyForThrow());
}

std::exception_ptr ZolException_24::copyForThrow() const { return std::make_exception_ptr(*this); }

const char* ZolUserException_24::getTypeName() const noexcept { return "Zol.ZolUserException"; }
const char* ZolSystemException_24::getTypeName() const noexcept { return "Zol.ZolSystemException"; }

namespace {

// Creators by type name; the last registration of a name is the active one.
class CreatorRegistry {
 public:
  static CreatorRegistry& instance() {
    // Never destroyed: plug-ins unregister during their own static destruction.
    static auto* registry = new CreatorRegistry();
    return *registry;
  }

  void add(const char* typeName, ZolExceptionCreator creator) {
    std::lock_guard<std::mutex> lock(mutex_);
    creators_[typeName].push_back(creator);
  }

  void remove(const char* typeName) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = creators_.find(typeName);
    if (it == creators_.end()) return;
    it->second.pop_back();
    if (it->second.empty()) creators_.erase(it);
  }

  ZolExceptionCreator find(const char* typeName) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = creators_.find(typeName);
    return it == creators_.end() ? nullptr : it->second.back();
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::vector<ZolExceptionCreator>, std::less<>> creators_;
};

}  // namespace

void registerCreator(const char* typeName, ZolExceptionCreator creator) {
  if (typeName && creator) CreatorRegistry::instance().add(typeName, creator);
}

void unregisterCreator(const char* typeName) {
  if (typeName) CreatorRegistry::instance().remove(typeName);
}

bool hasCreator(const char* typeName) { return typeName && CreatorRegistry::instance().find(typeName); }

std::unique_ptr<ZolException_24> createException(const char* typeName, std::int32_t code, const std::string& text) {
  if (ZolExceptionCreator creator = typeName ? CreatorRegistry::instance().find(typeName) : nullptr) {
    if (auto created = creator(code, text)) return created;
  }
  return std::make_unique<ZolUserException_24>(code, text);
}

}  // namespace Zol

const char* Zol::EOM::DependencyManagerException::getTypeName() const noexcept { return kTypeName; }
const char* Zol::Util::SystemUtils::FileNoAccessException::getTypeName() const noexcept { return kTypeName; }
const char* Zol::Util::SystemUtils::IncompatiblePathsException::getTypeName() const noexcept { return kTypeName; }
const char* Zol::Framework::Reflection::TypeCodeException::getTypeName() const noexcept { return kTypeName; }
const char* Zol::Services::TypeRegistry::TypeRegistryException::getTypeName() const noexcept { return kTypeName; }
const char* kyr::orla::appfw::UndoRedoFWException::getTypeName() const noexcept { return kTypeName; }

// Defined here as well, so that the DLL exports the type names: on Windows gcc exports
// no inline static data member of an exported class, yet a program that
// binds one to a reference imports it.
constexpr const char* Zol::EOM::DependencyManagerException::kTypeName;
constexpr const char* Zol::Util::SystemUtils::FileNoAccessException::kTypeName;
constexpr const char* Zol::Util::SystemUtils::IncompatiblePathsException::kTypeName;
constexpr const char* Zol::Framework::Reflection::TypeCodeException::kTypeName;
constexpr const char* Zol::Services::TypeRegistry::TypeRegistryException::kTypeName;
constexpr const char* kyr::orla::appfw::UndoRedoFWException::kTypeName;
