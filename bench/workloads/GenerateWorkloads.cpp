#include "workloads/GenerateWorkloads.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <stdexcept>

#include "WyrdanPluginUtilities/eom/GenerativeHelper.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"

namespace bench {

namespace {

using kyr::orla::plugin::wyrdan::ServiceHelper;
using Zol::EOM::GUIDDATA;
using Zol::EOM::IEOMObjectSequence;

constexpr char kEOMCore[] = "Zol.EOM.EOMCore";
constexpr std::mt19937_64::result_type kGuidSeed = 0x6775696473;
constexpr std::mt19937_64::result_type kShuffleSeed = 20240612;

// A GUID as the two 64-bit words GUIDCompare orders it by.
struct GuidWords {
  std::uint64_t first;
  std::uint64_t second;
};

GuidWords wordsOf(const GUIDDATA& guid) {
  static_assert(sizeof(GuidWords) == sizeof(GUIDDATA), "a GUID is two 64-bit words");
  GuidWords words;
  std::memcpy(&words, &guid, sizeof words);
  return words;
}

bool lessByWords(const GUIDDATA& a, const GUIDDATA& b) {
  const GuidWords x = wordsOf(a);
  const GuidWords y = wordsOf(b);
  return x.first < y.first || (x.first == y.first && x.second < y.second);
}

// An object's GUID, fetched once, and where the object stands in the input.
struct Fetched {
  GuidWords guid;
  std::size_t position;
};

bool guidThenPosition(const Fetched& a, const Fetched& b) {
  if (a.guid.first != b.guid.first) return a.guid.first < b.guid.first;
  if (a.guid.second != b.guid.second) return a.guid.second < b.guid.second;
  return a.position < b.position;
}

}  // namespace

DuplicatedObjects::DuplicatedObjects(long entries) {
  if (entries % 2 != 0) throw std::invalid_argument("every object appears twice: the entries must be even");
  std::mt19937_64 random(kGuidSeed);
  std::vector<EOMPtr> twice;
  twice.reserve(static_cast<std::size_t>(entries));
  for (long i = 0; i < entries / 2; ++i) {
    const std::uint64_t high = random();
    const std::uint64_t low = random();
    GUIDDATA guid;
    guid.Data1 = static_cast<std::uint32_t>(high);
    guid.Data2 = static_cast<std::uint16_t>(high >> 32);
    guid.Data3 = static_cast<std::uint16_t>(high >> 48);
    std::memcpy(guid.Data4, &low, sizeof guid.Data4);
    byGuid_.push_back(makeHostObject<BenchEOMObject>(guid));
    twice.emplace_back(byGuid_.back());
    twice.emplace_back(byGuid_.back());
  }
  std::sort(byGuid_.begin(), byGuid_.end(),
            [](const auto& a, const auto& b) { return lessByWords(a->getGUID(), b->getGUID()); });
  const auto sameGuid = [](const auto& a, const auto& b) { return a->getGUID() == b->getGUID(); };
  if (std::adjacent_find(byGuid_.begin(), byGuid_.end(), sameGuid) != byGuid_.end()) {
    throw std::logic_error("two objects drew the same GUID");
  }
  std::shuffle(twice.begin(), twice.end(), std::mt19937_64(kShuffleSeed));
  input_ = IEOMObjectSequence(twice.begin(), twice.end());
}

std::vector<std::uint64_t> DuplicatedObjects::marks() const {
  std::vector<std::uint64_t> counts;
  for (const auto& object : byGuid_) counts.push_back(object->marks());
  return counts;
}

bool DuplicatedObjects::markedOnceSince(const std::vector<std::uint64_t>& before) const {
  for (std::size_t i = 0; i < byGuid_.size(); ++i) {
    if (byGuid_[i]->marks() != before[i] + 1) return false;
  }
  return true;
}

bool DuplicatedObjects::handedInOrder(const IEOMObjectSequence& generated) const {
  if (generated.size() != byGuid_.size()) return false;
  for (std::size_t i = 0; i < byGuid_.size(); ++i) {
    if (generated[i].get() != byGuid_[i].get()) return false;
  }
  return true;
}

BulkGenerate::BulkGenerate(long entries)
    : objects_(entries),
      manager_(makeHostObject<RecordingDependencyManager>()),
      provider_(makeHostObject<SingleServiceProvider>(kEOMCore, manager_)),
      access_(provider_) {
  // Services cached under another access would answer instead of this one's.
  ServiceHelper::releaseServices();
  ServiceHelper::setZolServiceAccess(&access_);
}

BulkGenerate::~BulkGenerate() {
  ServiceHelper::releaseServices();
  provider_->withdraw();
}

void BulkGenerate::run() { kyr::orla::plugin::wyrdan::GenerativeHelper::bulkGenerateObjects(objects_.input()); }

bool BulkGenerate::verify() {
  return objects_.generatesEachOnceInOrder([this] { run(); }, *manager_);
}

SortUniqueGenerate::SortUniqueGenerate(long entries)
    : objects_(entries), manager_(makeHostObject<RecordingDependencyManager>()) {}

void SortUniqueGenerate::run() {
  const IEOMObjectSequence& input = objects_.input();
  std::vector<Fetched> fetched;
  fetched.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) fetched.push_back(Fetched{wordsOf(input[i]->getGUID()), i});
  // By position within a GUID, so that unique keeps the first of each.
  std::sort(fetched.begin(), fetched.end(), guidThenPosition);
  fetched.erase(std::unique(fetched.begin(), fetched.end(),
                            [](const Fetched& a, const Fetched& b) {
                              return a.guid.first == b.guid.first && a.guid.second == b.guid.second;
                            }),
                fetched.end());
  IEOMObjectSequence batch;
  batch.reserve(fetched.size());
  for (const Fetched& entry : fetched) {
    const EOMPtr& object = input[entry.position];
    if (object->isExcluded()) continue;
    object->mark();
    batch.push_back(object);
  }
  if (!batch.empty()) manager_->bulkGenerate(batch);
}

bool SortUniqueGenerate::verify() {
  return objects_.generatesEachOnceInOrder([this] { run(); }, *manager_);
}

}  // namespace bench
