#include "WyrdanPluginUtilities/eom/GenerativeHelper.h"

#include <algorithm>
#include <vector>

#include "WyrdanPluginUtilities/entities/EOMCompare.h"
#include "WyrdanPluginUtilities/services/ServiceHelper.h"
#include "kyr/appfw/ICmdProcessor.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

using Zol::EOM::IEOMObjectSequence;
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

// A stable sort by GUID and unique keep the first object of each GUID, as a
// set ordered by EOMCompare would, without a tree node per object.
void GenerativeHelper::bulkGenerateObjects(IEOMObjectSequence const& objects) {
  if (objects.empty()) return;
  std::vector<EOMPtr> byGuid(objects.begin(), objects.end());
  const EOMCompare order;
  std::stable_sort(byGuid.begin(), byGuid.end(), order);
  byGuid.erase(std::unique(byGuid.begin(), byGuid.end(),
                           [&order](const EOMPtr& a, const EOMPtr& b) { return !order.lessThan(a, b); }),
               byGuid.end());
  IEOMObjectSequence batch;
  batch.reserve(byGuid.size());
  for (const EOMPtr& object : byGuid) {
    if (!object || object->isExcluded()) continue;
    object->mark();
    batch.push_back(object);
  }
  const auto manager =
      Zol::interfaceCastOrThrow<Zol::EOM::IEOMDependencyManagerInterface>(ServiceHelper::getEOMDependencyMgr());
  if (manager && !batch.empty()) manager->bulkGenerate(batch);
}

}  // namespace kyr::orla::plugin::wyrdan
