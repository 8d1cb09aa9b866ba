// Arbitrary bytes as the stream of a command-parameter-list any-value, into
// DataBunch. Malformed streams must end in a kernel exception. What is
// accepted, and what the bunch then holds, is checked against a reader of the
// target's own, written from the stream layout and sharing no code with the
// kernel's marshaller, so that a fault made the same way in the kernel's
// writer and reader cannot hide behind a clean round trip. The kernel's list
// reader must agree too, and nothing may be lost silently: an accepted stream
// re-encodes as a list to exactly its bytes, and the bunch differs from that
// list only as a bunch must (keys sorted bytewise, the last value of a
// repeated key kept).
//
// Each input runs against object tables of several sizes: none, as many
// objects as the stream refers to, and one more, so that object references
// are read, passed through and refused when left over. The objects are the
// target's own and count themselves; none may outlive the run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "zol/kernel/ZolException.h"

using kyr::orla::appfw::CmdParameters;
using kyr::orla::plugin::wyrdan::DataBunch;

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// ---- The target's own reader of the stream layout -------------------------
//
// A list stream: u32 element count, then per element the 16-byte element
// type id, the name (u32 length, bytes) and the value. A value: 16-byte type
// id (two u64 words), u32 stream length, the stream bytes, u32 object count,
// one u32 index into the outer object table per object. Integers are in
// platform byte order. The reader keeps the value's bytes as they are; only
// values of the list type are read further, by the caller.

constexpr std::uint32_t kNoObject = 0xffffffffU;
// A table size no u32 index reaches: for learning how many objects a stream
// refers to.
constexpr std::uint64_t kUnboundedTable = std::uint64_t{1} << 32;

struct ReadValue {
  Zol::ZolTypeId type;  // the null id for a value holding nothing
  std::string_view bytes;
  std::vector<std::uint32_t> objects;  // indices into the outer table
};

struct ReadElement {
  std::string_view name;
  ReadValue value;
};

class LayoutReader {
 public:
  LayoutReader(std::string_view stream, std::uint64_t tableSize) : stream_(stream), tableSize_(tableSize) {}

  // The elements, or nothing when the layout does not allow the stream.
  std::optional<std::vector<ReadElement>> list() {
    std::vector<ReadElement> elements;
    // An empty stream carries no list: it reads as an empty one.
    if (stream_.empty()) return elements;
    std::uint32_t count = 0;
    if (!u32(count)) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
      ReadElement element;
      Zol::ZolTypeId elementType;
      if (!typeId(elementType) || elementType != kyr::orla::appfw::kCmdParameterTypeId) return std::nullopt;
      if (!text(element.name) || !value(element.value)) return std::nullopt;
      elements.push_back(std::move(element));
    }
    // Every byte and every object of the table belongs to some element.
    if (pos_ != stream_.size() || nextObject_ != tableSize_) return std::nullopt;
    return elements;
  }

  // How many table entries the elements read so far referred to.
  std::uint64_t objectsUsed() const { return nextObject_; }

 private:
  bool take(std::size_t size, std::string_view& out) {
    if (size > stream_.size() - pos_) return false;
    out = stream_.substr(pos_, size);
    pos_ += size;
    return true;
  }

  template <class T>
  bool scalar(T& out) {
    std::string_view bytes;
    if (!take(sizeof out, bytes)) return false;
    std::memcpy(&out, bytes.data(), sizeof out);
    return true;
  }

  bool u32(std::uint32_t& out) { return scalar(out); }

  bool typeId(Zol::ZolTypeId& out) { return scalar(out.high) && scalar(out.low); }

  bool text(std::string_view& out) {
    std::uint32_t length = 0;
    return u32(length) && take(length, out);
  }

  bool value(ReadValue& out) {
    std::uint32_t length = 0;
    std::uint32_t objectCount = 0;
    if (!typeId(out.type) || !u32(length) || !take(length, out.bytes) || !u32(objectCount)) return false;
    for (std::uint32_t i = 0; i < objectCount; ++i) {
      std::uint32_t index = 0;
      if (!u32(index)) return false;
      // A table entry is an object, taken in table order, each once.
      if (index == kNoObject || index >= tableSize_ || index != nextObject_) return false;
      ++nextObject_;
      out.objects.push_back(index);
    }
    if (out.type.isNull()) return length == 0 && objectCount == 0;
    // Which ids name a type is the process's type registry's to say.
    return !Zol::getCachedTypeCodeInit_24_8(out.type).empty();
  }

  std::string_view stream_;
  std::uint64_t tableSize_;
  std::size_t pos_ = 0;
  std::uint64_t nextObject_ = 0;
};

// ---- Objects for the table -------------------------------------------------

// A bare service object that counts the live instances.
class Probe final : public Zol::ZolIServiceInterface {
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
    if (!Zol::offerInterface<Zol::ZolIServiceInterface>(this, id, out)) {
      return Zol::ZolResult_24_8(Zol::kQueryNoInterface);
    }
    addReference();
    return {};
  }
  std::string getServiceName() const override { return "Wyrdan.Fuzz.Probe"; }
  std::uint64_t getServiceId() const noexcept override { return 1; }

 private:
  ~Probe() override { --live; }
  int references_ = 0;
};

using Table = std::vector<Zol::ZolIService>;

// ---- Agreement -----------------------------------------------------------

// The any-value `value` describes, its objects taken from `table`.
Zol::ZolAny_24_8 anyOf(const ReadValue& value, const Table& table) {
  Zol::ZolAny_24_8 any;
  if (value.type.isNull()) return any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  out.writeBytes(value.bytes.data(), value.bytes.size());
  for (std::uint32_t index : value.objects) out.addObject(table[index]);
  any.setData(Zol::getCachedTypeCodeInit_24_8(value.type));
  return any;
}

// Orders names by their bytes, as unsigned values.
struct BytewiseLess {
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  }
};

// One element per name, the last one read, ordered bytewise by name.
std::vector<const ReadElement*> lastOfEachName(const std::vector<ReadElement>& elements) {
  std::map<std::string_view, const ReadElement*, BytewiseLess> last;
  for (const ReadElement& element : elements) last[element.name] = &element;
  std::vector<const ReadElement*> ordered;
  for (const auto& named : last) ordered.push_back(named.second);
  return ordered;
}

// What the kernel's list must be once made a bunch, as a list in key order.
CmdParameters asBunchOrder(const CmdParameters& list) {
  std::map<std::string, Zol::ZolAny_24_8> last;
  for (const auto& parameter : list) last[parameter.name] = parameter.value;
  CmdParameters ordered;
  for (const auto& [name, value] : last) ordered.push_back({name, value});
  return ordered;
}

void requireHolds(const Zol::ZolAny_24_8& held, const ReadValue& value, const Table& table) {
  require(held.getTypeCode().getTypeId() == value.type);
  require(held.streamBytes() == value.bytes);
  require(held.objectCount() == value.objects.size());
  require(held == anyOf(value, table));
}

// Values of the list type are bunches in their turn: checked as deep as this.
constexpr int kMaxDepth = 4;

// `any` carries a list stream and the object table `table`: DataBunch and
// the kernel's list reader accept it exactly when the layout allows it, and
// then hold what the layout says.
void requireAgreement(const Zol::ZolAny_24_8& any, const Table& table, int depth) {
  LayoutReader reader(any.streamBytes(), table.size());
  const std::optional<std::vector<ReadElement>> read = reader.list();

  bool bunchAccepted = false;
  bool listAccepted = false;
  DataBunch bunch;
  CmdParameters list;
  try {
    bunch = DataBunch(any);
    bunchAccepted = true;
  } catch (const Zol::ZolException_24&) {
    // The expected answer to a malformed stream.
  }
  try {
    list = kyr::orla::appfw::cmdParametersFromAny(any);
    listAccepted = true;
  } catch (const Zol::ZolException_24&) {
  }
  require(bunchAccepted == read.has_value());
  require(listAccepted == bunchAccepted);
  if (!read) return;

  const std::vector<const ReadElement*> expected = lastOfEachName(*read);
  auto entry = bunch.begin();
  for (const ReadElement* element : expected) {
    require(entry != bunch.end());
    require(entry->first == element->name);
    requireHolds(entry->second, element->value, table);
    ++entry;
  }
  require(entry == bunch.end());

  require(list.size() == read->size());
  if (!any.streamBytes().empty()) require(kyr::orla::appfw::cmdParametersToAny(list) == any);
  require(bunch.toCmdParams() == asBunchOrder(list));

  // The bunch's own stream reads, by the layout, as its entries in order.
  const Zol::ZolAny_24_8 again = bunch.toZolAny();
  const std::optional<std::vector<ReadElement>> reread = LayoutReader(again.streamBytes(), again.objectCount()).list();
  require(reread.has_value() && reread->size() == expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ReadValue& before = expected[i]->value;
    const ReadValue& after = (*reread)[i].value;
    require((*reread)[i].name == expected[i]->name);
    require(after.type == before.type && after.bytes == before.bytes && after.objects.size() == before.objects.size());
  }
  require(DataBunch(again).toCmdParams() == bunch.toCmdParams());

  if (depth >= kMaxDepth) return;
  entry = bunch.begin();
  for (const ReadElement* element : expected) {
    if (element->value.type == kyr::orla::appfw::kCmdParametersTypeId) {
      Table inner;
      for (std::uint32_t index : element->value.objects) inner.push_back(table[index]);
      requireAgreement(entry->second, inner, depth + 1);
    }
    ++entry;
  }
}

}  // namespace

// Object references are typed with an interface; the base one's type code is
// registered on first use, which here would otherwise never come, leaving
// every stream that names it unreadable.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Zol::interfaceTypeCode<Zol::ZolIServiceInterface>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view stream(reinterpret_cast<const char*>(data), size);
  LayoutReader counter(stream, kUnboundedTable);
  counter.list();
  const std::uint64_t referenced = counter.objectsUsed();

  // No objects; one more than the stream refers to, which must be refused as
  // left over; and, when it refers to some, exactly as many.
  std::vector<std::uint64_t> tableSizes{0, referenced + 1};
  if (referenced != 0) tableSizes.push_back(referenced);
  constexpr std::uint64_t kMaxObjects = 64;
  for (std::uint64_t tableSize : tableSizes) {
    if (tableSize > kMaxObjects) continue;
    {
      Table table;
      Zol::ZolAny_24_8 any;
      Zol::ZolOutStream_24_8 out = any.initializeStream();
      out.writeBytes(data, size);
      for (std::uint64_t i = 0; i < tableSize; ++i) {
        table.emplace_back(new Probe());
        out.addObject(table.back());
      }
      any.setData(kyr::orla::appfw::getTC_CmdParameters());
      requireAgreement(any, table, 0);
    }
    require(Probe::live == 0);
  }
  return 0;
}
