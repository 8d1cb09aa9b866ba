#include "zol/kernel/ZolTypeCode.h"

#include <deque>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <unordered_map>

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

// The ids of the application framework's command-parameter list and of its
// element struct are fixed by the host.
constexpr ZolTypeId kCmdParametersId{0x842f14211789310fULL, 0x8a6ccefe5e88ae62ULL};
constexpr ZolTypeId kCmdParameterId{0xee56baa6e40d342fULL, 0x9253c3a24fa6d0d6ULL};

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
      Framework::Reflection::TypeCodeException(
          kTypeCodeConflict, "Type code " + std::string(name) + " conflicts with a registered type")
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
    add("kyr.orla.appfw.CmdParameters", kCmdParametersId);
    add("kyr.orla.appfw.CmdParameter", kCmdParameterId);
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

ZolTypeCode_24_8 getCachedTypeCodeInit_24_8(const ZolTypeId& id) noexcept {
  return ZolTypeRegistryAccess::make(TypeRegistry::instance().findId(id));
}

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
