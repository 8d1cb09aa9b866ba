// The parameter bunch's any round trip and the references it is measured
// beside, over one mixed payload: short, long and non-ASCII strings (narrow
// and UTF-16), 32-bit integers, doubles, booleans, a nested bunch and an
// object reference, cycling in key order.
//
//   bench::BunchRoundTrip roundTrip(256);  // a bunch of 256 mixed entries
//   if (roundTrip.verify()) roundTrip.run();
//
// Every workload builds its input in the constructor; run() does the
// measured work once; verify() runs it and tells whether the result holds
// the input.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "simhost/testbed/SimObject.h"
#include "zol/kernel/ZolAny.h"

namespace bench {

using AnyMap = std::map<std::string, Zol::ZolAny_24_8>;

/// What one payload entry holds.
enum class ValueKind { ShortText, LongText, Utf8Text, Utf16Text, Int32, Double, Bool, NestedBunch, Object };

/// One payload entry, described apart from any container so that each
/// library under comparison stores the same content.
struct PayloadEntry {
  std::string key;
  ValueKind kind;
  /// The text of the string kinds (UTF-8), the nested bunch's label.
  std::string text;
  /// The integer; the double is number + 0.25, the boolean whether it is odd.
  std::int32_t number;
};

/// `entries` entries with keys in ascending order; entry i is of kind i modulo
/// the number of kinds.
std::vector<PayloadEntry> mixedPayload(long entries);

/// The object the payload's object entries refer to.
ZolSmartPointer<simhost::SimService> payloadObject();

/// The payload as a bunch; object entries refer to `object`.
kyr::orla::plugin::wyrdan::DataBunch toBunch(const std::vector<PayloadEntry>& payload,
                                             const ZolSmartPointer<simhost::SimService>& object);

/// The measured cost: bunch.toZolAny(), then a bunch made back from the any.
class BunchRoundTrip {
 public:
  explicit BunchRoundTrip(long entries);
  void run() const;
  bool verify() const;

 private:
  ZolSmartPointer<simhost::SimService> object_;
  kyr::orla::plugin::wyrdan::DataBunch bunch_;
};

/// Copying the bunch's map of keys and any-values: no serialising at all.
class BunchMapCopy {
 public:
  explicit BunchMapCopy(long entries);
  void run() const;
  bool verify() const;

 private:
  ZolSmartPointer<simhost::SimService> object_;
  AnyMap map_;
  long entries_;
};

/// The least any serialising round trip of the map does: each key and each
/// value's type id, stream bytes and object references written into one byte
/// buffer (objects into a table beside it), then read back, bounds-checked,
/// into a new map.
class BunchByteRoundTrip {
 public:
  explicit BunchByteRoundTrip(long entries);
  void run() const;
  bool verify() const;

 private:
  AnyMap roundTrip() const;

  ZolSmartPointer<simhost::SimService> object_;
  AnyMap map_;
};

}  // namespace bench
