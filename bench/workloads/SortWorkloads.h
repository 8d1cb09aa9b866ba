// Sorting entities with EntityFastCompare, and the floor it is measured
// beside: the same sort by the same two words, fetched with the same host
// call (the entity's virtual getReference, once per side of every
// comparison) but compared inline. Both sort `entries` benchmark entities,
// shuffled once with a fixed seed.
//
//   bench::FastCompareSort sort(10000);
//   if (sort.verify()) sort.run();  // one sort of a fresh copy
//
// Each run first copies the shuffled entities over a working vector of the
// same size (one reference added and one released per entity, no
// allocation), so that every run sorts the same input; both sides pay it.
#pragma once

#include <algorithm>

#include "hostobjects/BenchEntities.h"

namespace bench {

/// A model's entities in a fixed shuffled order and a working copy to sort.
class ShuffledEntities {
 public:
  explicit ShuffledEntities(long entries);

  /// Copies the shuffled entities over the working copy and sorts it with `less`.
  template <class Less>
  void sortCopy(Less less) {
    std::copy(shuffled_.begin(), shuffled_.end(), working_.begin());
    std::sort(working_.begin(), working_.end(), less);
  }
  /// True when the working copy holds the model's entities in words order
  /// and the shuffled input did not.
  bool sortedByWords() const;

 private:
  BenchModel model_;
  EntityVector shuffled_;
  EntityVector working_;
};

/// The measured cost: std::sort with EntityFastCompare.
class FastCompareSort {
 public:
  explicit FastCompareSort(long entries);
  void run();
  bool verify();

 private:
  ShuffledEntities entities_;
};

/// The floor: std::sort by (first, second) word, both references fetched
/// through getReference in every comparison, without the comparator's
/// empty-pointer tests or its call into the library.
class FetchedWordsSort {
 public:
  explicit FetchedWordsSort(long entries);
  void run();
  bool verify();

 private:
  ShuffledEntities entities_;
};

}  // namespace bench
