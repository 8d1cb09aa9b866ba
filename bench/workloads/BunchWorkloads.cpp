#include "workloads/BunchWorkloads.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>

#include <benchmark/benchmark.h>
#include <unicode/unistr.h>

namespace bench {

namespace {

using kyr::orla::plugin::wyrdan::DataBunch;

constexpr ValueKind kKinds[] = {ValueKind::ShortText, ValueKind::LongText,    ValueKind::Utf8Text,
                                ValueKind::Utf16Text, ValueKind::Int32,       ValueKind::Double,
                                ValueKind::Bool,      ValueKind::NestedBunch, ValueKind::Object};

std::string textOf(ValueKind kind, std::int32_t number) {
  const std::string digits = std::to_string(number);
  switch (kind) {
    case ValueKind::ShortText:
      return "v" + digits;
    case ValueKind::LongText: {
      std::string text = "a long parameter value, entry " + digits + ": ";
      text.resize(128, '.');
      return text;
    }
    case ValueKind::Utf8Text:
    case ValueKind::Utf16Text:
      return "Spannung σ = 応力 № " + digits;
    case ValueKind::NestedBunch:
      return "nested " + digits;
    default:
      return {};
  }
}

DataBunch nestedBunch(const PayloadEntry& entry) {
  return DataBunch{{"count", Zol::ZolAny_24_8(entry.number)},
                   {"label", Zol::makeZolAny(entry.text)},
                   {"scale", Zol::makeZolAny(entry.number + 0.25)}};
}

bool sameEntries(const DataBunch& a, const DataBunch& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }

AnyMap mixedMap(long entries, const ZolSmartPointer<simhost::SimService>& object) {
  const DataBunch bunch = toBunch(mixedPayload(entries), object);
  return AnyMap(bunch.begin(), bunch.end());
}

// Writes into a buffer sized beforehand: no capacity checks per field.
class ByteWriter {
 public:
  explicit ByteWriter(char* buffer) : next_(buffer) {}

  void putBytes(const void* data, std::size_t size) {
    std::memcpy(next_, data, size);
    next_ += size;
  }
  template <class T>
  void put(const T& value) {
    putBytes(&value, sizeof value);
  }

 private:
  char* next_;
};

// Reads back what ByteWriter wrote; throws std::out_of_range past the end.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

  std::string_view take(std::size_t size) {
    if (size > rest_.size()) throw std::out_of_range("byte round trip: truncated buffer");
    const std::string_view taken = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return taken;
  }
  template <class T>
  T get() {
    T value;
    std::memcpy(&value, take(sizeof value).data(), sizeof value);
    return value;
  }

 private:
  std::string_view rest_;
};

}  // namespace

std::vector<PayloadEntry> mixedPayload(long entries) {
  std::vector<PayloadEntry> payload;
  payload.reserve(static_cast<std::size_t>(entries));
  for (long i = 0; i < entries; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "key%05ld", i);
    const ValueKind kind = kKinds[static_cast<std::size_t>(i) % std::size(kKinds)];
    const auto number = static_cast<std::int32_t>(i);
    payload.push_back(PayloadEntry{key, kind, textOf(kind, number), number});
  }
  return payload;
}

ZolSmartPointer<simhost::SimService> payloadObject() {
  return simhost::makeSimObject<simhost::SimService>(std::make_shared<simhost::SimContext>(), "object");
}

DataBunch toBunch(const std::vector<PayloadEntry>& payload, const ZolSmartPointer<simhost::SimService>& object) {
  DataBunch bunch;
  for (const PayloadEntry& entry : payload) {
    switch (entry.kind) {
      case ValueKind::ShortText:
      case ValueKind::LongText:
      case ValueKind::Utf8Text:
        bunch.setData(entry.key, Zol::makeZolAny(entry.text));
        break;
      case ValueKind::Utf16Text:
        bunch.setData(entry.key, Zol::makeZolAny(icu::UnicodeString::fromUTF8(entry.text)));
        break;
      case ValueKind::Int32:
        bunch.setData(entry.key, Zol::ZolAny_24_8(entry.number));
        break;
      case ValueKind::Double:
        bunch.setData(entry.key, Zol::makeZolAny(entry.number + 0.25));
        break;
      case ValueKind::Bool:
        bunch.setData(entry.key, Zol::ZolAny_24_8(entry.number % 2 != 0));
        break;
      case ValueKind::NestedBunch:
        bunch.setData(entry.key, nestedBunch(entry).toZolAny());
        break;
      case ValueKind::Object:
        bunch.setData(entry.key, object);
        break;
    }
  }
  return bunch;
}

BunchRoundTrip::BunchRoundTrip(long entries)
    : object_(payloadObject()), bunch_(toBunch(mixedPayload(entries), object_)) {}

void BunchRoundTrip::run() const {
  const Zol::ZolAny_24_8 any = bunch_.toZolAny();
  const DataBunch back(any);
  benchmark::DoNotOptimize(&back);
}

bool BunchRoundTrip::verify() const { return sameEntries(DataBunch(bunch_.toZolAny()), bunch_); }

BunchMapCopy::BunchMapCopy(long entries)
    : object_(payloadObject()), map_(mixedMap(entries, object_)), entries_(entries) {}

void BunchMapCopy::run() const {
  const AnyMap copy = map_;
  benchmark::DoNotOptimize(&copy);
}

bool BunchMapCopy::verify() const { return static_cast<long>(map_.size()) == entries_ && AnyMap(map_) == map_; }

BunchByteRoundTrip::BunchByteRoundTrip(long entries) : object_(payloadObject()), map_(mixedMap(entries, object_)) {}

void BunchByteRoundTrip::run() const {
  const AnyMap back = roundTrip();
  benchmark::DoNotOptimize(&back);
}

bool BunchByteRoundTrip::verify() const { return roundTrip() == map_; }

// Layout: entry count, then per entry its key size, stream size, object
// count and type id, then the key, the stream and one index into the object
// table per object.
AnyMap BunchByteRoundTrip::roundTrip() const {
  constexpr std::size_t kWord = sizeof(std::uint32_t);
  std::size_t size = kWord;
  std::size_t objectCount = 0;
  for (const auto& [key, value] : map_) {
    size += 3 * kWord + sizeof(Zol::ZolTypeId) + key.size() + value.streamSize() + kWord * value.objectCount();
    objectCount += value.objectCount();
  }
  const std::unique_ptr<char[]> buffer(new char[size]);
  std::vector<Zol::ZolIService> objects;
  objects.reserve(objectCount);

  ByteWriter writer(buffer.get());
  writer.put(static_cast<std::uint32_t>(map_.size()));
  for (const auto& [key, value] : map_) {
    const std::string_view stream = value.streamBytes();
    const auto count = static_cast<std::uint32_t>(value.objectCount());
    writer.put(static_cast<std::uint32_t>(key.size()));
    writer.put(static_cast<std::uint32_t>(stream.size()));
    writer.put(count);
    writer.put(value.getTypeCode().getTypeId());
    writer.putBytes(key.data(), key.size());
    writer.putBytes(stream.data(), stream.size());
    if (count == 0) continue;
    Zol::ZolInStream_24_8 in = value.openStream();
    for (std::uint32_t i = 0; i < count; ++i) {
      writer.put(static_cast<std::uint32_t>(objects.size()));
      objects.push_back(in.object(i));
    }
  }

  ByteReader reader(std::string_view(buffer.get(), size));
  AnyMap back;
  for (auto entries = reader.get<std::uint32_t>(); entries != 0; --entries) {
    const auto keySize = reader.get<std::uint32_t>();
    const auto streamSize = reader.get<std::uint32_t>();
    auto count = reader.get<std::uint32_t>();
    const auto id = reader.get<Zol::ZolTypeId>();
    std::string key(reader.take(keySize));
    Zol::ZolAny_24_8 value;
    Zol::ZolOutStream_24_8 out = value.initializeStream();
    const std::string_view stream = reader.take(streamSize);
    out.writeBytes(stream.data(), stream.size());
    for (; count != 0; --count) out.addObject(objects.at(reader.get<std::uint32_t>()));
    value.setData(Zol::getCachedTypeCodeInit_24_8(id));
    back.emplace_hint(back.end(), std::move(key), std::move(value));
  }
  return back;
}

}  // namespace bench
