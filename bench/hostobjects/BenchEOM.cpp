#include "hostobjects/BenchEOM.h"

#include <utility>

namespace bench {

namespace {

Zol::ZolResult_24_8 failure() { return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure); }

}  // namespace

BenchEOMObject::BenchEOMObject(const Zol::EOM::GUIDDATA& guid) : guid_(guid) {}

Zol::ZolResult_24_8 BenchEOMObject::getName(icu::UnicodeString& /*name*/) { return failure(); }

Zol::ZolResult_24_8 BenchEOMObject::setName(const icu::UnicodeString& /*name*/) { return failure(); }

Zol::ZolResult_24_8 BenchEOMObject::getTypeName(icu::UnicodeString& /*typeName*/) { return failure(); }

Zol::ZolResult_24_8 BenchEOMObject::getPart(EOMPtr& /*part*/) { return failure(); }

Zol::EOM::GUIDDATA BenchEOMObject::getGUID() { return guid_; }

bool BenchEOMObject::getState() { return false; }

bool BenchEOMObject::isEqual(const EOMPtr& other) { return other.get() == this; }

bool BenchEOMObject::hasPrimaryPersistentObject() { return false; }

ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> BenchEOMObject::getPrimaryPersistentObject() {
  return {};
}

bool BenchEOMObject::hasSecondaryPersistentObject() { return false; }

ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface>
BenchEOMObject::getSecondaryPersistentObject() {
  return {};
}

void BenchEOMObject::mark() { ++marks_; }

bool BenchEOMObject::isExcluded() { return false; }

Zol::ZolResult_24_8 RecordingDependencyManager::bulkGenerate(const Zol::EOM::IEOMObjectSequence& objects) {
  ++calls_;
  last_ = objects;
  return {};
}

SingleServiceProvider::SingleServiceProvider(std::string name, Zol::ZolIService service)
    : name_(std::move(name)), service_(std::move(service)) {}

Zol::ZolResult_24_8 SingleServiceProvider::getService(const std::string& name, const std::string& /*version*/,
                                                      Zol::ZolIService& service) {
  if (name != name_ || !service_) {
    service.reset();
    return failure();
  }
  service = service_;
  return {};
}

void SingleServiceProvider::withdraw() noexcept { service_.reset(); }

SingleServiceAccess::SingleServiceAccess(ZolSmartPointer<SingleServiceProvider> provider)
    : provider_(std::move(provider)) {}

Zol::ZolResult_24_8 SingleServiceAccess::getServiceProvider(
    ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) {
  provider = provider_;
  return {};
}

Zol::ZolResult_24_8 SingleServiceAccess::getService(const std::string& name, const std::string& version,
                                                    Zol::ZolIService& service) {
  return provider_->getService(name, version, service);
}

}  // namespace bench
