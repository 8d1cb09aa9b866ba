// One of EntityTypeID's process-wide caches of the type registry's answers.
// Threads look answers up without a lock while other threads add new ones;
// an entry, once added, is never changed or removed until the cache goes at
// unload.
#pragma once

#include <oneapi/tbb/concurrent_map.h>

namespace kyr::orla::plugin::wyrdan::internal {

template <class Key, class Value>
class TypeIdCache {
 public:
  /// The answer cached for `key`, or null. It stays where it is for the life
  /// of the cache.
  const Value* find(const Key& key) const {
    const auto entry = answers_.find(key);
    return entry == answers_.end() ? nullptr : &entry->second;
  }

  /// Caches `answer` for `key` unless an answer is cached for it already, and
  /// returns the one cached: a thread that asked at the same time may have
  /// added its own first.
  const Value& add(const Key& key, const Value& answer) { return answers_.emplace(key, answer).first->second; }

 private:
  tbb::concurrent_map<Key, Value> answers_;
};

}  // namespace kyr::orla::plugin::wyrdan::internal
