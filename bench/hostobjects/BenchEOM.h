// Engineering objects and the EOM services of the benchmarks' own: objects
// with a fixed GUID that count their marks, a dependency manager that records
// what it is asked to generate, and the service provider and access through
// which the library's ServiceHelper finds that manager.
//
//   auto manager = bench::makeHostObject<bench::RecordingDependencyManager>();
//   auto provider = bench::makeHostObject<bench::SingleServiceProvider>("Zol.EOM.EOMCore", manager);
//   bench::SingleServiceAccess access(provider);
//   ServiceHelper::setZolServiceAccess(&access);
#pragma once

#include <cstdint>
#include <string>

#include "hostobjects/HostObject.h"
#include "zol/eom/IEOMObjectFactory.h"
#include "zol/framework/ZolIServiceProvider.h"

namespace bench {

using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

/// An engineering object with a fixed GUID that counts its marks; never
/// excluded, equal only to itself. Its other operations fail or answer no.
class BENCH_HOST_EXPORT BenchEOMObject final : public HostObject<Zol::EOM::IEOMObjectInterface> {
 public:
  explicit BenchEOMObject(const Zol::EOM::GUIDDATA& guid);

  Zol::ZolResult_24_8 getName(icu::UnicodeString& name) override;
  Zol::ZolResult_24_8 setName(const icu::UnicodeString& name) override;
  Zol::ZolResult_24_8 getTypeName(icu::UnicodeString& typeName) override;
  Zol::ZolResult_24_8 getPart(EOMPtr& part) override;
  Zol::EOM::GUIDDATA getGUID() override;
  bool getState() override;
  bool isEqual(const EOMPtr& other) override;
  bool hasPrimaryPersistentObject() override;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> getPrimaryPersistentObject() override;
  bool hasSecondaryPersistentObject() override;
  ZolSmartPointer<Zol::PersistenceFW::CAEData::IPersistentObjectInterface> getSecondaryPersistentObject() override;
  void mark() override;
  bool isExcluded() override;

  std::uint64_t marks() const noexcept { return marks_; }

 private:
  const Zol::EOM::GUIDDATA guid_;
  std::uint64_t marks_ = 0;
};

/// A dependency manager that counts its bulkGenerate calls and keeps the
/// last sequence it was given (a shared copy: no element is copied).
class BENCH_HOST_EXPORT RecordingDependencyManager final : public HostObject<Zol::EOM::IEOMDependencyManagerInterface> {
 public:
  Zol::ZolResult_24_8 bulkGenerate(const Zol::EOM::IEOMObjectSequence& objects) override;

  std::uint64_t calls() const noexcept { return calls_; }
  const Zol::EOM::IEOMObjectSequence& lastGenerated() const noexcept { return last_; }

 private:
  std::uint64_t calls_ = 0;
  Zol::EOM::IEOMObjectSequence last_;
};

/// A service provider that serves one service under one name, until withdrawn.
class BENCH_HOST_EXPORT SingleServiceProvider final : public HostObject<Zol::Framework::ZolIServiceProviderInterface> {
 public:
  SingleServiceProvider(std::string name, Zol::ZolIService service);

  /// The service under its name; fails, leaving `service` empty, for any
  /// other name or once withdrawn.
  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;
  /// Drops the service: later look-ups fail.
  void withdraw() noexcept;

 private:
  const std::string name_;
  Zol::ZolIService service_;
};

/// The host's entry object over one SingleServiceProvider.
class BENCH_HOST_EXPORT SingleServiceAccess final : public Zol::Framework::ZolIServiceAccess {
 public:
  explicit SingleServiceAccess(ZolSmartPointer<SingleServiceProvider> provider);

  Zol::ZolResult_24_8 getServiceProvider(
      ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) override;
  Zol::ZolResult_24_8 getService(const std::string& name, const std::string& version,
                                 Zol::ZolIService& service) override;

 private:
  const ZolSmartPointer<SingleServiceProvider> provider_;
};

}  // namespace bench
