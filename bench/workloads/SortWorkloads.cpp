#include "workloads/SortWorkloads.h"

#include <random>

#include "WyrdanPluginUtilities/entities/EntityFastCompare.h"

namespace bench {

namespace {

using Zol::PersistenceFW::CAEData::EntityReference;

// The floor's order: what EntityFastCompare compares, fetched as it fetches.
struct FetchedWordsLess {
  bool operator()(const EntityPtr& a, const EntityPtr& b) const {
    EntityReference x;
    a->getReference(x);
    EntityReference y;
    b->getReference(y);
    return x.first < y.first || (x.first == y.first && x.second < y.second);
  }
};

constexpr std::mt19937_64::result_type kShuffleSeed = 20240611;

}  // namespace

ShuffledEntities::ShuffledEntities(long entries)
    : model_(entries), shuffled_(model_.entities()), working_(shuffled_.size()) {
  std::shuffle(shuffled_.begin(), shuffled_.end(), std::mt19937_64(kShuffleSeed));
}

bool ShuffledEntities::sortedByWords() const { return working_ == model_.entities() && shuffled_ != model_.entities(); }

FastCompareSort::FastCompareSort(long entries) : entities_(entries) {}

void FastCompareSort::run() { entities_.sortCopy(kyr::orla::plugin::wyrdan::EntityFastCompare()); }

bool FastCompareSort::verify() {
  run();
  return entities_.sortedByWords();
}

FetchedWordsSort::FetchedWordsSort(long entries) : entities_(entries) {}

void FetchedWordsSort::run() { entities_.sortCopy(FetchedWordsLess()); }

bool FetchedWordsSort::verify() {
  run();
  return entities_.sortedByWords();
}

}  // namespace bench
