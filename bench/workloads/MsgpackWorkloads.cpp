#include "workloads/MsgpackWorkloads.h"

#include <cstdint>
#include <utility>

#include <benchmark/benchmark.h>

namespace bench {

namespace {

// msgpack carries an object reference as nothing but a number: the object's
// address stands for its identity.
std::uint64_t identityOf(const ZolSmartPointer<simhost::SimService>& object) {
  return reinterpret_cast<std::uintptr_t>(object.get());
}

// The entry's value as msgpack holds it. msgpack has one string type, UTF-8:
// the UTF-16 entries travel as their UTF-8 text.
msgpack::object toObject(const PayloadEntry& entry, std::uint64_t object, msgpack::zone& zone) {
  switch (entry.kind) {
    case ValueKind::Int32:
      return msgpack::object(entry.number, zone);
    case ValueKind::Double:
      return msgpack::object(entry.number + 0.25, zone);
    case ValueKind::Bool:
      return msgpack::object(entry.number % 2 != 0, zone);
    case ValueKind::NestedBunch: {
      const std::map<std::string, msgpack::object> nested{{"count", msgpack::object(entry.number, zone)},
                                                          {"label", msgpack::object(entry.text, zone)},
                                                          {"scale", msgpack::object(entry.number + 0.25, zone)}};
      return msgpack::object(nested, zone);
    }
    case ValueKind::Object:
      return msgpack::object(object, zone);
    default:
      return msgpack::object(entry.text, zone);
  }
}

// Whether `value` is what toObject() made of the entry, read back as a
// msgpack-c user reads it: converted to the expected type.
bool holds(const msgpack::object& value, const PayloadEntry& entry, std::uint64_t object) {
  switch (entry.kind) {
    case ValueKind::Int32:
      return value.type == msgpack::type::POSITIVE_INTEGER && value.as<std::int32_t>() == entry.number;
    case ValueKind::Double:
      return value.type == msgpack::type::FLOAT64 && value.as<double>() == entry.number + 0.25;
    case ValueKind::Bool:
      return value.type == msgpack::type::BOOLEAN && value.as<bool>() == (entry.number % 2 != 0);
    case ValueKind::NestedBunch: {
      if (value.type != msgpack::type::MAP) return false;
      const auto nested = value.as<std::map<std::string, msgpack::object>>();
      return nested.size() == 3 && nested.count("count") == 1 &&
             nested.at("count").as<std::int32_t>() == entry.number && nested.count("label") == 1 &&
             nested.at("label").as<std::string>() == entry.text && nested.count("scale") == 1 &&
             nested.at("scale").as<double>() == entry.number + 0.25;
    }
    case ValueKind::Object:
      return value.type == msgpack::type::POSITIVE_INTEGER && value.as<std::uint64_t>() == object;
    default:
      return value.type == msgpack::type::STR && value.as<std::string>() == entry.text;
  }
}

}  // namespace

MsgpackRoundTrip::MsgpackRoundTrip(long entries) : object_(payloadObject()), payload_(mixedPayload(entries)) {
  for (const PayloadEntry& entry : payload_) map_.emplace(entry.key, toObject(entry, identityOf(object_), zone_));
}

void MsgpackRoundTrip::run() const {
  const Unpacked back = roundTrip();
  benchmark::DoNotOptimize(&back);
}

bool MsgpackRoundTrip::verify() const {
  const Unpacked back = roundTrip();
  if (back.map.size() != payload_.size()) return false;
  for (const PayloadEntry& entry : payload_) {
    const auto found = back.map.find(entry.key);
    if (found == back.map.end() || !holds(found->second, entry, identityOf(object_))) return false;
  }
  return true;
}

MsgpackRoundTrip::Unpacked MsgpackRoundTrip::roundTrip() const {
  msgpack::sbuffer buffer;
  msgpack::pack(buffer, map_);
  Unpacked back{msgpack::unpack(buffer.data(), buffer.size()), {}};
  back.handle.get().convert(back.map);
  return back;
}

}  // namespace bench
