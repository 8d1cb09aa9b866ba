// Model entities of the benchmarks' own, not the simulated host's: each
// answers its reference and its type name and fails every other operation,
// so that a workload measures the library's calls into them and little else.
// Like every object in hostobjects/, they live in a shared library of their
// own, as a host's objects do: callers reach them only through their virtual
// functions, which the optimiser cannot see into or guess.
//
//   bench::BenchModel model(1000);                    // entities ordered by words
//   model.entities()[0]->getReference(reference);     // words (1, 1, 0)
#pragma once

#include <vector>

#include "hostobjects/HostObject.h"
#include "kyr/appfw/IEntity.h"
#include "zol/persistence/EntityReference.h"

namespace bench {

using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;
using EntityVector = std::vector<EntityPtr>;

/// An entity with a fixed reference and the type name "Wyrdan.Bench.Node",
/// which no browser tab claims. Its other operations fail.
class BENCH_HOST_EXPORT BenchEntity final : public HostObject<kyr::orla::appfw::IEntityInterface> {
 public:
  explicit BenchEntity(Zol::PersistenceFW::CAEData::EntityReference reference);

  Zol::ZolResult_24_8 getReference(Zol::PersistenceFW::CAEData::EntityReference& reference) override;
  Zol::ZolResult_24_8 setAttribute(const std::string& name, const Zol::ZolAny_24_8& value,
                                   ZolSmartPointer<kyr::orla::appfw::IURCommandInterface>& undo) override;
  Zol::ZolResult_24_8 getName(icu::UnicodeString& name) override;
  Zol::ZolResult_24_8 getTypeName(icu::UnicodeString& typeName) override;
  Zol::ZolResult_24_8 setParent(const EntityPtr& parent) override;
  Zol::ZolResult_24_8 addChild(const EntityPtr& child, const icu::UnicodeString& name) override;

 private:
  const Zol::PersistenceFW::CAEData::EntityReference reference_;
};

/// `entries` entities of one container, made one by one as a host makes
/// them. The first words split the model into four types of consecutive
/// entities; the second words count up from 1, so every entity has its own
/// (first, second) pair and the words order is the order of making.
class BENCH_HOST_EXPORT BenchModel {
 public:
  explicit BenchModel(long entries);

  /// The entities in words order.
  const EntityVector& entities() const noexcept { return entities_; }

 private:
  Zol::ZolIService container_;
  EntityVector entities_;
};

}  // namespace bench
