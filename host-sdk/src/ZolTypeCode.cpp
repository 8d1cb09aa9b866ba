#include "zol/kernel/ZolTypeCode.h"

#include <array>
#include <deque>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "zol/kernel/ZolHostExceptions.h"

namespace Zol {

namespace detail {
struct ZolTypeRecord {
  ZolTypeId id;
  std::string name;
};
}  // namespace detail

class ZolTypeRegistryAccess {
 public:
  static ZolTypeCode_24_8 make(const detail::ZolTypeRecord* record) noexcept { return ZolTypeCode_24_8(record); }
};

namespace {

using detail::ZolTypeRecord;

// Registered types by id and by name. Look-ups share the lock; records are
// never removed, so handles stay valid.
class TypeRegistry {
 public:
  static TypeRegistry& instance() {
    static auto* registry = new TypeRegistry();  // lives as long as the process
    return *registry;
  }

  const ZolTypeRecord* findId(const ZolTypeId& id) const {
    std::shared_lock<std::shared_mutex> lock(mutex_);
    return findIdLocked(id);
  }

  const ZolTypeRecord* findName(std::string_view name) const {
    std::shared_lock<std::shared_mutex> lock(mutex_);
    return findNameLocked(name);
  }

  const ZolTypeRecord* add(std::string_view name, const ZolTypeId& id) {
    std::unique_lock<std::shared_mutex> lock(mutex_);
    const ZolTypeRecord* sameId = findIdLocked(id);
    const ZolTypeRecord* sameName = findNameLocked(name);
    if (sameId && sameId == sameName) return sameId;
    if (sameId || sameName || id.isNull() || name.empty()) {
      Framework::Reflection::TypeCodeException(kTypeCodeConflict,
                                               "Type code " + std::string(name) + " conflicts with a registered type")
          .throwit("ZolException");
    }
    const ZolTypeRecord& record = records_.emplace_back(ZolTypeRecord{id, std::string(name)});
    byId_.emplace(id, &record);
    byName_.emplace(record.name, &record);
    return &record;
  }

 private:
  const ZolTypeRecord* findIdLocked(const ZolTypeId& id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : it->second;
  }

  const ZolTypeRecord* findNameLocked(std::string_view name) const {
    auto it = byName_.find(std::string(name));
    return it == byName_.end() ? nullptr : it->second;
  }

  TypeRegistry() {
    for (const char* builtin : {"Zol.Boolean", "Zol.Int32", "Zol.UInt32", "Zol.Int64", "Zol.UInt64", "Zol.Double",
                                "Zol.ZolString", "Zol.ZolUString"}) {
      add(builtin, typeIdFromName(builtin));
    }
  }

  mutable std::shared_mutex mutex_;
  std::deque<ZolTypeRecord> records_;
  std::unordered_map<ZolTypeId, const ZolTypeRecord*, ZolTypeIdHash> byId_;
  std::unordered_map<std::string, const ZolTypeRecord*> byName_;
};

ZolTypeCode_24_8 builtin(const char* name) noexcept {
  return ZolTypeRegistryAccess::make(TypeRegistry::instance().findName(name));
}

}  // namespace

ZolTypeId ZolTypeCode_24_8::getTypeId() const noexcept { return record_ ? record_->id : ZolTypeId{}; }

const std::string& ZolTypeCode_24_8::getName() const noexcept {
  static const std::string kNone;
  return record_ ? record_->name : kNone;
}

ZolTypeCode_24_8 registerTypeCode_24_8(std::string_view name, const ZolTypeId& id) {
  return ZolTypeRegistryAccess::make(TypeRegistry::instance().add(name, id));
}

// Stream reads look the same few ids up again and again: each thread keeps
// the records it found last, in a small two-way set-associative table (the
// most recently used way first). The set comes from the high bits of a
// multiplicative hash, so that the built-in scalar ids spread over the sets.
// Records are never removed, so entries stay valid.
namespace {

struct RecentType {
  ZolTypeId id;
  const ZolTypeRecord* record = nullptr;
};
constexpr unsigned kRecentSetBits = 5;
using RecentSet = std::array<RecentType, 2>;

thread_local std::array<RecentSet, std::size_t{1} << kRecentSetBits> recentTypes{};
thread_local ZolTypeCodeCacheStats cacheStats;

RecentSet& recentSetOf(const ZolTypeId& id) noexcept {
  return recentTypes[((id.high ^ id.low) * 0x9e3779b97f4a7c15ULL) >> (64 - kRecentSetBits)];
}

}  // namespace

ZolTypeCode_24_8 getCachedTypeCodeInit_24_8(const ZolTypeId& id) noexcept {
  RecentSet& set = recentSetOf(id);
  if (set[0].record != nullptr && set[0].id == id) {
    ++cacheStats.hits;
    return ZolTypeRegistryAccess::make(set[0].record);
  }
  if (set[1].record != nullptr && set[1].id == id) {
    ++cacheStats.hits;
    std::swap(set[0], set[1]);
    return ZolTypeRegistryAccess::make(set[0].record);
  }
  ++cacheStats.misses;
  const ZolTypeRecord* record = TypeRegistry::instance().findId(id);
  if (record != nullptr) {
    set[1] = set[0];
    set[0] = RecentType{id, record};
  }
  return ZolTypeRegistryAccess::make(record);
}

ZolTypeCodeCacheStats getTypeCodeCacheStats_24_8() noexcept { return cacheStats; }

ZolTypeCode_24_8 getCachedTypeCode_24_8(std::string_view name, bool throwIfUnknown) {
  const ZolTypeRecord* record = TypeRegistry::instance().findName(name);
  if (!record && throwIfUnknown) {
    Framework::Reflection::TypeCodeException(kTypeCodeUnknown, "Unknown type " + std::string(name))
        .throwit("ZolException");
  }
  return ZolTypeRegistryAccess::make(record);
}

ZolTypeCode_24_8 getTC_Zol_Boolean_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.Boolean");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_Int32_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.Int32");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_UInt32_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.UInt32");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_Int64_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.Int64");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_UInt64_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.UInt64");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_Double_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.Double");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_ZolString_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.ZolString");
  return tc;
}
ZolTypeCode_24_8 getTC_Zol_ZolUString_24_8() noexcept {
  static const ZolTypeCode_24_8 tc = builtin("Zol.ZolUString");
  return tc;
}

}  // namespace Zol
