#include "hostobjects/BenchEntities.h"

#include <cstdint>
#include <utility>

namespace bench {

namespace {

using Zol::PersistenceFW::CAEData::EntityReference;

constexpr long kTypes = 4;

// The container every reference of a BenchModel names.
class ModelContainer final : public HostObject<Zol::ZolIServiceInterface> {};

Zol::ZolResult_24_8 failure() { return Zol::ZolResult_24_8(Zol::ZolResult_24_8::kFailure); }

// The words of entity `index` of `entries`: four types of consecutive
// entities, the second words counting up from 1.
std::uint32_t firstWordOf(long index, long entries) noexcept {
  return static_cast<std::uint32_t>(1 + index * kTypes / entries);
}

std::uint32_t secondWordOf(long index) noexcept { return static_cast<std::uint32_t>(1 + index); }

}  // namespace

BenchEntity::BenchEntity(EntityReference reference) : reference_(std::move(reference)) {}

Zol::ZolResult_24_8 BenchEntity::getReference(EntityReference& reference) {
  reference = reference_;
  return {};
}

Zol::ZolResult_24_8 BenchEntity::setAttribute(const std::string& /*name*/, const Zol::ZolAny_24_8& /*value*/,
                                              ZolSmartPointer<kyr::orla::appfw::IURCommandInterface>& /*undo*/) {
  return failure();
}

Zol::ZolResult_24_8 BenchEntity::getName(icu::UnicodeString& /*name*/) { return failure(); }

Zol::ZolResult_24_8 BenchEntity::getTypeName(icu::UnicodeString& typeName) {
  static const icu::UnicodeString kTypeName(u"Wyrdan.Bench.Node");
  typeName = kTypeName;
  return {};
}

Zol::ZolResult_24_8 BenchEntity::setParent(const EntityPtr& /*parent*/) { return failure(); }

Zol::ZolResult_24_8 BenchEntity::addChild(const EntityPtr& /*child*/, const icu::UnicodeString& /*name*/) {
  return failure();
}

BenchModel::BenchModel(long entries) : container_(makeHostObject<ModelContainer>()) {
  entities_.reserve(static_cast<std::size_t>(entries));
  for (long index = 0; index < entries; ++index) {
    entities_.push_back(
        makeHostObject<BenchEntity>(EntityReference{container_, firstWordOf(index, entries), secondWordOf(index), 0}));
  }
}

}  // namespace bench
