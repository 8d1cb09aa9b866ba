#include "WyrdanPluginUtilities/eom/GenerativeHelper.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <vector>

#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ICmdProcessor.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::EOM::IEOMObjectSequence;
using Zol::PersistenceFW::CAEData::GUIDDATA;
using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

GenerativeHelper& GenerativeHelper::operator=(GenerativeHelper const&) = default;
GenerativeHelper& GenerativeHelper::operator=(GenerativeHelper&&) noexcept = default;

void GenerativeHelper::addToGenerateList(IEOMObjectSequence const& objects) {
  ZolSmartPointer<appfw::ICmdProcessorInterface> processor = appfw::ServiceCacheAppFrame::commandProcessor_;
  if (!processor || objects.empty()) return;
  for (const EOMPtr& object : objects) {
    if (object) object->mark();
  }
  processor->addToGenerateList(objects);
}

namespace {

// An object's place in the batch: its GUID as the two words GUIDCompare
// orders by (first, then second), and its position in the input.
struct GuidKey {
  std::uint64_t first;
  std::uint64_t second;
  std::size_t position;
};

GuidKey keyOf(EOMPtr const& object, std::size_t position) {
  const GUIDDATA guid = object ? object->getGUID() : GUIDDATA();
  struct {
    std::uint64_t first;
    std::uint64_t second;
  } words{};
  static_assert(sizeof words == sizeof guid, "a GUID is two 64-bit words");
  std::memcpy(&words, &guid, sizeof words);
  return GuidKey{words.first, words.second, position};
}

}  // namespace

// Each GUID is fetched once. Sorting the keys by GUID, then position, and
// keeping the first of each GUID gives what a set ordered by EOMCompare
// gives: the first object of each GUID, in GUID order.
void GenerativeHelper::bulkGenerateObjects(IEOMObjectSequence const& objects) {
  if (objects.empty()) return;
  std::vector<GuidKey> keys;
  keys.reserve(objects.size());
  for (std::size_t position = 0; position < objects.size(); ++position) {
    keys.push_back(keyOf(objects[position], position));
  }
  std::sort(keys.begin(), keys.end(), [](const GuidKey& a, const GuidKey& b) {
    return std::tie(a.first, a.second, a.position) < std::tie(b.first, b.second, b.position);
  });
  keys.erase(std::unique(keys.begin(), keys.end(),
                         [](const GuidKey& a, const GuidKey& b) { return a.first == b.first && a.second == b.second; }),
             keys.end());
  IEOMObjectSequence batch;
  batch.reserve(keys.size());
  for (const GuidKey& key : keys) {
    const EOMPtr& object = objects[key.position];
    if (!object || object->isExcluded()) continue;
    object->mark();
    batch.push_back(object);
  }
  const auto manager =
      Zol::interfaceCastOrThrow<Zol::EOM::IEOMDependencyManagerInterface>(ServiceHelper::getEOMDependencyMgr());
  if (manager && !batch.empty()) manager->bulkGenerate(batch);
}

}  // namespace kyr::orla::plugin::wyrdan
