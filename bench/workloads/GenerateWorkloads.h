// GenerativeHelper::bulkGenerateObjects and the floor it is measured beside,
// over `entries` engineering objects in which every object appears twice,
// shuffled with a fixed seed. Both hand the distinct objects, in GUID order,
// to a dependency manager of the benchmarks' own that records what it got.
//
//   bench::BulkGenerate generate(10000);  // 5000 objects, each twice
//   if (generate.verify()) generate.run();
//
// The helper reaches the manager as a plug-in does: ServiceHelper looks
// "Zol.EOM.EOMCore" up through the service access the workload installs. The
// helper keeps the provider until another access is installed; the workload
// withdraws the manager from it when it ends.
#pragma once

#include <cstdint>
#include <vector>

#include "hostobjects/BenchEOM.h"

namespace bench {

/// `entries` / 2 objects with distinct GUIDs from a fixed seed, and the
/// sequence of `entries` that holds each of them twice, shuffled. Throws
/// std::invalid_argument for an odd `entries`.
class DuplicatedObjects {
 public:
  explicit DuplicatedObjects(long entries);

  /// Each object twice, shuffled: the input of every run.
  const Zol::EOM::IEOMObjectSequence& input() const noexcept { return input_; }
  /// True when `generate` hands `manager` each object once, in GUID order,
  /// marking each once, in one bulkGenerate call.
  template <class Generate>
  bool generatesEachOnceInOrder(Generate generate, const RecordingDependencyManager& manager) const {
    const std::vector<std::uint64_t> before = marks();
    const std::uint64_t calls = manager.calls();
    generate();
    return manager.calls() == calls + 1 && handedInOrder(manager.lastGenerated()) && markedOnceSince(before);
  }

 private:
  std::vector<std::uint64_t> marks() const;
  bool markedOnceSince(const std::vector<std::uint64_t>& before) const;
  bool handedInOrder(const Zol::EOM::IEOMObjectSequence& generated) const;

  // The distinct objects in GUID order.
  std::vector<ZolSmartPointer<BenchEOMObject>> byGuid_;
  Zol::EOM::IEOMObjectSequence input_;
};

/// The measured cost: GenerativeHelper::bulkGenerateObjects(input).
class BulkGenerate {
 public:
  explicit BulkGenerate(long entries);
  ~BulkGenerate();
  BulkGenerate(const BulkGenerate&) = delete;
  BulkGenerate& operator=(const BulkGenerate&) = delete;

  void run();
  bool verify();

 private:
  DuplicatedObjects objects_;
  ZolSmartPointer<RecordingDependencyManager> manager_;
  ZolSmartPointer<SingleServiceProvider> provider_;
  SingleServiceAccess access_;
};

/// The floor: each object's GUID fetched once through getGUID, the GUIDs
/// sorted with the objects' positions and made unique (keeping the first of
/// each GUID, as the helper does); then the helper's calls per object
/// (isExcluded, mark) into a reserved sequence handed to a manager held
/// since construction.
class SortUniqueGenerate {
 public:
  explicit SortUniqueGenerate(long entries);
  void run();
  bool verify();

 private:
  DuplicatedObjects objects_;
  ZolSmartPointer<RecordingDependencyManager> manager_;
};

}  // namespace bench
