// Bunches built from fuzzed values of every kind an any-value carries
// (booleans, the four integer types, doubles, narrow and Unicode strings,
// nothing, nested bunches and object references), sent through their
// any-value form and unpacked again. Every value must read back, with its
// typed reader, as exactly what was put in, in the stream layout the
// any-value documents; and once the bunches and any-values are gone, every
// object must be back at the reference count it started with.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>
#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/commands/DataBunch.h"

using kyr::orla::plugin::wyrdan::DataBunch;

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// A host interface of the target's own, so that references typed with an
// interface other than the base one are carried too.
class IProbeInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"Wyrdan.Fuzz.IProbe"};
  virtual int references() const noexcept = 0;
};

// A service object that shows its reference count and counts the live
// instances.
class Probe final : public IProbeInterface {
 public:
  static inline int live = 0;

  Probe() { ++live; }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  void addReference() noexcept override { ++references_; }
  void releaseReference() noexcept override {
    if (--references_ == 0) delete this;
  }
  Zol::ZolResult_24_8 queryInterface(const Zol::ZolTypeId& id, void** out) noexcept override {
    *out = nullptr;
    if (id == Zol::ZolIServiceInterface::descriptor.typeId) {
      *out = static_cast<Zol::ZolIServiceInterface*>(this);
    } else if (!Zol::offerInterface<IProbeInterface>(this, id, out)) {
      return Zol::ZolResult_24_8(Zol::kQueryNoInterface);
    }
    addReference();
    return {};
  }
  std::string getServiceName() const override { return descriptor.typeName; }
  std::uint64_t getServiceId() const noexcept override { return 1; }
  int references() const noexcept override { return references_; }

 private:
  ~Probe() override { --live; }
  int references_ = 0;
};

using Pool = std::vector<ZolSmartPointer<IProbeInterface>>;

// The pool's object `index`, or an empty reference for -1.
ZolSmartPointer<IProbeInterface> objectAt(const Pool& pool, int index) {
  return index < 0 ? nullptr : pool[static_cast<std::size_t>(index)];
}

enum class Kind {
  kBool,
  kInt32,
  kUInt32,
  kInt64,
  kUInt64,
  kDouble,
  kString,
  kUnicode,
  kNothing,
  kProbe,    // typed with IProbeInterface
  kService,  // typed with the base interface
  kBunch,
};
constexpr Kind kLastKind = Kind::kBunch;
// Bunches within bunches, at most this deep.
constexpr int kMaxDepth = 3;
constexpr std::uint32_t kNoObject = 0xffffffffU;

struct Model;

// What was put in under one key.
struct Expected {
  Kind kind = Kind::kNothing;
  std::uint64_t bits = 0;  // booleans, integers and doubles, as their bits
  std::string text;
  std::u16string units;
  int object = -1;  // index into the pool; -1 for an empty reference
  std::shared_ptr<Model> nested;
};

struct Model {
  std::map<std::string, Expected> entries;
};

template <class T>
std::string bytesOf(const T& value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

template <class T>
T fromBits(std::uint64_t bits) {
  T value{};
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

template <class T>
std::uint64_t toBits(T value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

DataBunch build(FuzzedDataProvider& input, const Pool& pool, Model& model, int depth);

template <class T>
Zol::ZolAny_24_8 scalar(FuzzedDataProvider& input, Expected& expected) {
  const T value = input.ConsumeIntegral<T>();
  expected.bits = toBits(value);
  return Zol::makeZolAny(value);
}

// Stores one fuzzed value under `key`, and what it is in `expected`.
void put(FuzzedDataProvider& input, const Pool& pool, DataBunch& bunch, const std::string& key, Expected& expected,
         int depth) {
  const Kind last = depth < kMaxDepth ? kLastKind : Kind::kService;
  expected.kind = static_cast<Kind>(input.ConsumeIntegralInRange<int>(0, static_cast<int>(last)));
  switch (expected.kind) {
    case Kind::kBool: {
      const bool value = input.ConsumeBool();
      expected.bits = value ? 1 : 0;
      bunch.setData(key, Zol::ZolAny_24_8(value));
      break;
    }
    case Kind::kInt32: {
      const auto value = input.ConsumeIntegral<std::int32_t>();
      expected.bits = toBits(value);
      bunch.setData(key, Zol::ZolAny_24_8(value));
      break;
    }
    case Kind::kUInt32:
      bunch.setData(key, scalar<std::uint32_t>(input, expected));
      break;
    case Kind::kInt64:
      bunch.setData(key, scalar<std::int64_t>(input, expected));
      break;
    case Kind::kUInt64:
      bunch.setData(key, scalar<std::uint64_t>(input, expected));
      break;
    case Kind::kDouble:
      // Any bit pattern, NaNs and infinities included.
      expected.bits = input.ConsumeIntegral<std::uint64_t>();
      bunch.setData(key, Zol::makeZolAny(fromBits<double>(expected.bits)));
      break;
    case Kind::kString:
      expected.text = input.ConsumeRandomLengthString(64);
      bunch.setData(key, Zol::makeZolAny(expected.text));
      break;
    case Kind::kUnicode: {
      // Any code units, unpaired surrogates included: they are carried as units.
      const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, 24);
      for (std::size_t i = 0; i < length; ++i) expected.units.push_back(input.ConsumeIntegral<char16_t>());
      const icu::UnicodeString text(expected.units.data(), static_cast<std::int32_t>(expected.units.size()));
      bunch.setData(key, Zol::makeZolAny(text));
      break;
    }
    case Kind::kNothing:
      bunch.setData(key, Zol::ZolAny_24_8());
      break;
    case Kind::kProbe:
    case Kind::kService: {
      expected.object = input.ConsumeIntegralInRange<int>(-1, static_cast<int>(pool.size()) - 1);
      const ZolSmartPointer<IProbeInterface> object = objectAt(pool, expected.object);
      if (expected.kind == Kind::kProbe) {
        bunch.setData(key, object);
      } else {
        bunch.setData(key, Zol::makeZolAny(Zol::ZolIService(object)));
      }
      break;
    }
    case Kind::kBunch:
      expected.nested = std::make_shared<Model>();
      bunch.setData(key, build(input, pool, *expected.nested, depth + 1).toZolAny());
      break;
  }
}

DataBunch build(FuzzedDataProvider& input, const Pool& pool, Model& model, int depth) {
  DataBunch bunch;
  const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, 8);
  for (std::size_t i = 0; i < count && input.remaining_bytes() != 0; ++i) {
    const std::string key = input.ConsumeRandomLengthString(16);
    Expected expected;
    put(input, pool, bunch, key, expected, depth);
    // A repeated key keeps its last value.
    model.entries[key] = std::move(expected);
  }
  return bunch;
}

// Reads `value` as a T, which must give `expected`, and checks the stream
// holds exactly its bytes.
template <class T>
void requireScalar(const Zol::ZolAny_24_8& value, std::uint64_t expectedBits) {
  T read{};
  require(Zol::extractZolAny(value, read));
  const T expected = fromBits<T>(expectedBits);
  require(std::memcmp(&read, &expected, sizeof read) == 0);
  require(value.streamBytes() == bytesOf(expected));
  require(value.objectCount() == 0);
}

template <class I>
void requireReference(const Zol::ZolAny_24_8& value, const Expected& expected, const Pool& pool) {
  ZolSmartPointer<I> read;
  require(Zol::extractZolAny(value, read));
  const ZolSmartPointer<I> object = objectAt(pool, expected.object);
  require(read == object);
  require(value.objectCount() == (expected.object < 0 ? 0U : 1U));
  // The first (and only) entry of the value's table, or none.
  require(value.streamBytes() == bytesOf(expected.object < 0 ? kNoObject : std::uint32_t{0}));
}

void requireMatches(const DataBunch& bunch, const Model& model, const Pool& pool, int depth);

void requireValue(const Zol::ZolAny_24_8& value, const Expected& expected, const Pool& pool, int depth) {
  switch (expected.kind) {
    case Kind::kBool: {
      bool read = expected.bits == 0;
      require(Zol::extractZolAny(value, read));
      require(read == (expected.bits == 1));
      require(value.streamBytes() == bytesOf(static_cast<std::uint8_t>(expected.bits)));
      break;
    }
    case Kind::kInt32:
      requireScalar<std::int32_t>(value, expected.bits);
      break;
    case Kind::kUInt32:
      requireScalar<std::uint32_t>(value, expected.bits);
      break;
    case Kind::kInt64:
      requireScalar<std::int64_t>(value, expected.bits);
      break;
    case Kind::kUInt64:
      requireScalar<std::uint64_t>(value, expected.bits);
      break;
    case Kind::kDouble:
      requireScalar<double>(value, expected.bits);
      break;
    case Kind::kString: {
      std::string read;
      require(Zol::extractZolAny(value, read));
      require(read == expected.text);
      require(value.streamBytes() == bytesOf(static_cast<std::uint32_t>(expected.text.size())) + expected.text);
      break;
    }
    case Kind::kUnicode: {
      icu::UnicodeString read;
      require(Zol::extractZolAny(value, read));
      const std::u16string_view units(read.getBuffer(), static_cast<std::size_t>(read.length()));
      require(units == expected.units);
      const std::string unitBytes(reinterpret_cast<const char*>(expected.units.data()),
                                  expected.units.size() * sizeof(char16_t));
      require(value.streamBytes() == bytesOf(static_cast<std::uint32_t>(expected.units.size())) + unitBytes);
      break;
    }
    case Kind::kNothing:
      require(value.holdsNothing() && value.streamSize() == 0 && value.objectCount() == 0);
      break;
    case Kind::kProbe:
      requireReference<IProbeInterface>(value, expected, pool);
      break;
    case Kind::kService:
      requireReference<Zol::ZolIServiceInterface>(value, expected, pool);
      break;
    case Kind::kBunch:
      require(value.getTypeCode() == kyr::orla::appfw::getTC_CmdParameters());
      requireMatches(DataBunch(value), *expected.nested, pool, depth + 1);
      break;
  }
}

// `bunch` holds exactly the model's keys, each with what was put in.
void requireMatches(const DataBunch& bunch, const Model& model, const Pool& pool, int depth) {
  std::size_t count = 0;
  for (const auto& entry : bunch) {
    require(model.entries.count(entry.first) == 1);
    ++count;
  }
  require(count == model.entries.size());
  for (const auto& [key, expected] : model.entries) {
    require(bunch.hasData(key));
    Zol::ZolAny_24_8 value;
    require(bunch.queryData(key, value));
    requireValue(value, expected, pool, depth);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  try {
    Pool pool;
    const int objects = input.ConsumeIntegralInRange<int>(1, 4);
    for (int i = 0; i < objects; ++i) pool.emplace_back(new Probe());
    {
      Model model;
      const DataBunch bunch = build(input, pool, model, 0);
      requireMatches(bunch, model, pool, 0);

      const Zol::ZolAny_24_8 any = bunch.toZolAny();
      DataBunch received(any);
      requireMatches(received, model, pool, 0);
      require(received.toZolAny() == any);

      DataBunch copy(received);
      const DataBunch moved(std::move(copy));
      requireMatches(moved, model, pool, 0);
    }
    // Only the pool's own references are left.
    for (const auto& object : pool) require(object->references() == 1);
  } catch (...) {
    // Nothing here is malformed: no step may throw.
    __builtin_trap();
  }
  require(Probe::live == 0);
  return 0;
}
