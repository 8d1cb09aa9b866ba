// ZolAny_24_8: the kernel's typed any-value. It carries a type code, a byte
// stream and a table of object references; an object written into the stream
// is kept alive by the table. Reads are bounds-checked: a truncated or
// malformed stream raises a Zol::ZolSystemException_24, never reads past the end.
//
//   Zol::ZolAny_24_8 any;
//   Zol::ZolOutStream_24_8 out = any.initializeStream();
//   Zol::marshaller_insert(out, std::string("name"));
//   any.setData(Zol::getTC_Zol_ZolString_24_8());
//
//   std::string name;
//   if (Zol::extractZolAny(any, name)) ...
//
// Encoding (platform byte order): integers and doubles as their bytes, bool as
// one byte, strings as a 32-bit length then the bytes (UTF-8 or UTF-16 code
// units), type codes as their 16-byte id, objects as a 32-bit index into the
// object table (0xffffffff for none), nested any-values as type id, 32-bit
// stream length, stream bytes, 32-bit object count and one outer index each.
// A nested any holding nothing is the null id with no bytes and no objects.
// Every value has exactly one encoding (objects are numbered in the order
// they are written, and an empty object takes no table entry), so a stream
// that reads re-encodes to the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unicode/unistr.h>

#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolKernelExport.h"
#include "zol/kernel/ZolSmartPointer.h"
#include "zol/kernel/ZolTypeCode.h"

namespace Zol {

class ZolAny_24_8;
class ZolOutStream_24_8;
class ZolInStream_24_8;

/// Writes into the stream of one any-value. Obtained from initializeStream();
/// valid while that any-value lives.
class ZOL_KERNEL_EXPORT ZolOutStream_24_8 {
 public:
  inline void writeBytes(const void* data, std::size_t size);
  /// Prepares room for `size` more bytes, so large streams grow once.
  void reserve(std::size_t size);
  /// Lengthens the stream by `size` bytes and returns the first of them, for
  /// the caller to fill: fields of a known total size written by plain
  /// copies. The pointer is valid until the stream next changes.
  inline char* grow(std::size_t size);
  /// Appends `object` to the any-value's object table; returns its index.
  std::uint32_t addObject(const ZolIService& object);

 private:
  friend class ZolAny_24_8;
  explicit ZolOutStream_24_8(ZolAny_24_8& any) noexcept : any_(&any) {}
  ZolAny_24_8* any_;
};

/// Reads the stream of one any-value from the start. Valid while that
/// any-value lives and is not changed.
class ZOL_KERNEL_EXPORT ZolInStream_24_8 {
 public:
  /// Throws (kStreamMalformed) unless every byte and every object of the
  /// table has been read: a reader that stops early would otherwise drop the
  /// rest silently.
  void expectEnd() const;
  /// Copies the next `size` bytes; throws (kStreamTruncated) if fewer remain.
  inline void readBytes(void* out, std::size_t size);
  /// The next `size` bytes, without copying; throws if fewer remain.
  inline std::string_view readView(std::size_t size);
  /// The object at `index` of the table, or an empty handle for the "no
  /// object" index. Objects are read in table order, each once, as they were
  /// written: any other index throws (kStreamMalformed).
  ZolIService object(std::uint32_t index);
  std::size_t remaining() const noexcept { return bytes_.size() - pos_; }
  bool atEnd() const noexcept { return remaining() == 0; }

 private:
  friend class ZolAny_24_8;
  inline explicit ZolInStream_24_8(const ZolAny_24_8& any) noexcept;
  [[noreturn]] static void throwTruncated();

  const ZolAny_24_8* any_;
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::uint32_t nextObject_ = 0;
};

class ZOL_KERNEL_EXPORT ZolAny_24_8 {
 public:
  /// Holds nothing.
  ZolAny_24_8() noexcept = default;
  ZolAny_24_8(bool value);          // NOLINT: implicit, like the kernel's
  ZolAny_24_8(std::int32_t value);  // NOLINT: implicit, like the kernel's
  /// Pointers would silently become bool.
  template <class T>
  ZolAny_24_8(T*) = delete;

  ZolAny_24_8(const ZolAny_24_8&) = default;
  ZolAny_24_8& operator=(const ZolAny_24_8&) = default;
  /// The moved-from any holds nothing.
  ZolAny_24_8(ZolAny_24_8&& other) noexcept
      : typeCode_(std::exchange(other.typeCode_, {})),
        bytes_(std::move(other.bytes_)),
        objects_(std::move(other.objects_)) {
    other.bytes_.clear();
    other.objects_.clear();
  }
  ZolAny_24_8& operator=(ZolAny_24_8&& other) noexcept {
    if (this != &other) {
      typeCode_ = std::exchange(other.typeCode_, {});
      bytes_ = std::move(other.bytes_);
      objects_ = std::move(other.objects_);
      other.bytes_.clear();
      other.objects_.clear();
    }
    return *this;
  }
  ~ZolAny_24_8() = default;

  /// Drops the stream, the object table and the type code; returns a writer
  /// over the new, empty stream. The any holds nothing until setData().
  ZolOutStream_24_8 initializeStream();
  /// Binds the type code of the written stream. Throws
  /// Zol::Framework::Reflection::TypeCodeException for the empty type code
  /// (what a look-up of an unregistered id gives): binding no type is a
  /// mistake, not a way to hold nothing; use setNothing() for that.
  void setData(const ZolTypeCode_24_8& typeCode);
  /// Drops everything: the any holds nothing.
  void setNothing() noexcept;

  /// True when a type code is bound.
  bool hasValue() const noexcept { return !typeCode_.empty(); }
  /// True when no type code is bound. Holding nothing is one state: such an
  /// any shows no stream and no objects, whatever was written before.
  bool holdsNothing() const noexcept { return typeCode_.empty(); }
  /// The bound type code; empty when the any holds nothing.
  const ZolTypeCode_24_8& getTypeCode() const noexcept { return typeCode_; }

  /// A reader over the stream, from its start.
  ZolInStream_24_8 openStream() const noexcept { return ZolInStream_24_8(*this); }
  std::size_t streamSize() const noexcept { return streamBytes().size(); }
  /// The stream's bytes (none while the any holds nothing); valid while the
  /// any lives and is not changed.
  std::string_view streamBytes() const noexcept {
    return holdsNothing() ? std::string_view() : std::string_view(bytes_);
  }
  std::size_t objectCount() const noexcept { return holdsNothing() ? 0 : objects_.size(); }

  /// Same type code, same stream bytes and the same objects in the table;
  /// any two values holding nothing are equal.
  friend ZOL_KERNEL_EXPORT bool operator==(const ZolAny_24_8& a, const ZolAny_24_8& b) noexcept;
  friend bool operator!=(const ZolAny_24_8& a, const ZolAny_24_8& b) noexcept { return !(a == b); }

 private:
  friend class ZolOutStream_24_8;
  friend class ZolInStream_24_8;
  // Declared exported after the class: gcc for Windows drops the DLL import
  // of a function declared a friend after it.
  friend void marshaller_insert(ZolOutStream_24_8& out, const ZolAny_24_8& value);
  friend void marshaller_extract(ZolInStream_24_8& in, ZolAny_24_8& value);
  friend char* marshalInto(ZolOutStream_24_8& out, char* to, const ZolAny_24_8& value);

  ZolTypeCode_24_8 typeCode_;
  std::string bytes_;  // short streams stay in the string's inline buffer
  std::vector<ZolIService> objects_;
};

// The kernel's marshaller, one overload per value kind.
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, bool value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, std::int32_t value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, std::uint32_t value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, std::int64_t value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, std::uint64_t value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, double value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, std::string_view value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, const icu::UnicodeString& value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, const ZolTypeCode_24_8& value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, const ZolIService& value);
ZOL_KERNEL_EXPORT void marshaller_insert(ZolOutStream_24_8& out, const ZolAny_24_8& value);
inline void marshaller_insert(ZolOutStream_24_8& out, const std::string& value) {
  marshaller_insert(out, std::string_view(value));
}
inline void marshaller_insert(ZolOutStream_24_8& out, const char* value) {
  marshaller_insert(out, std::string_view(value));
}
template <class I>
void marshaller_insert(ZolOutStream_24_8& out, const ZolSmartPointer<I>& value) {
  marshaller_insert(out, ZolIService(value));
}

/// The stream bytes marshaller_insert(out, value) writes for `value`.
inline std::size_t marshalledSize(const ZolAny_24_8& value) noexcept {
  return 2 * sizeof(std::uint64_t) + 2 * sizeof(std::uint32_t) + value.streamSize() +
         sizeof(std::uint32_t) * value.objectCount();
}
/// Writes `value` as marshaller_insert(out, value) does, by plain copies into
/// `to`: marshalledSize(value) bytes of out's stream from out.grow(). Adds the
/// value's objects to out's object table; returns the byte after the value.
/// Throws (kStreamMalformed) for a stream or object table too long to count.
ZOL_KERNEL_EXPORT char* marshalInto(ZolOutStream_24_8& out, char* to, const ZolAny_24_8& value);

ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, bool& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, std::int32_t& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, std::uint32_t& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, std::int64_t& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, std::uint64_t& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, double& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, std::string& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, icu::UnicodeString& value);
/// Throws Zol::Framework::Reflection::TypeCodeException for an unknown id.
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, ZolTypeCode_24_8& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, ZolIService& value);
ZOL_KERNEL_EXPORT void marshaller_extract(ZolInStream_24_8& in, ZolAny_24_8& value);
/// Reads an object reference; empty when the object lacks interface `I`.
template <class I>
void marshaller_extract(ZolInStream_24_8& in, ZolSmartPointer<I>& value) {
  ZolIService object;
  marshaller_extract(in, object);
  value = interfaceCast<I>(object);
}

// The stream primitives are inline: marshalling is a chain of small reads
// and writes.
inline void ZolOutStream_24_8::writeBytes(const void* data, std::size_t size) {
  if (size != 0) any_->bytes_.append(static_cast<const char*>(data), size);
}

inline char* ZolOutStream_24_8::grow(std::size_t size) {
  std::string& bytes = any_->bytes_;
  const std::size_t at = bytes.size();
  bytes.resize(at + size);
  return bytes.data() + at;
}

inline ZolInStream_24_8::ZolInStream_24_8(const ZolAny_24_8& any) noexcept : any_(&any), bytes_(any.streamBytes()) {}

inline std::string_view ZolInStream_24_8::readView(std::size_t size) {
  if (size > remaining()) throwTruncated();
  std::string_view bytes = bytes_.substr(pos_, size);
  pos_ += size;
  return bytes;
}

inline void ZolInStream_24_8::readBytes(void* out, std::size_t size) {
  std::string_view bytes = readView(size);
  if (size != 0) std::memcpy(out, bytes.data(), size);
}

/// The type code an any-value made by makeZolAny<T> carries.
template <class T>
struct ZolTypeCodeOf;
template <>
struct ZolTypeCodeOf<bool> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_Boolean_24_8(); }
};
template <>
struct ZolTypeCodeOf<std::int32_t> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_Int32_24_8(); }
};
template <>
struct ZolTypeCodeOf<std::uint32_t> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_UInt32_24_8(); }
};
template <>
struct ZolTypeCodeOf<std::int64_t> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_Int64_24_8(); }
};
template <>
struct ZolTypeCodeOf<std::uint64_t> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_UInt64_24_8(); }
};
template <>
struct ZolTypeCodeOf<double> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_Double_24_8(); }
};
template <>
struct ZolTypeCodeOf<std::string> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_ZolString_24_8(); }
};
template <>
struct ZolTypeCodeOf<icu::UnicodeString> {
  static ZolTypeCode_24_8 get() noexcept { return getTC_Zol_ZolUString_24_8(); }
};
template <class I>
struct ZolTypeCodeOf<ZolSmartPointer<I>> {
  static ZolTypeCode_24_8 get() { return interfaceTypeCode<I>(); }
};

/// An any-value holding `value`, typed with ZolTypeCodeOf<T>.
template <class T>
ZolAny_24_8 makeZolAny(const T& value) {
  ZolAny_24_8 any;
  ZolOutStream_24_8 out = any.initializeStream();
  marshaller_insert(out, value);
  any.setData(ZolTypeCodeOf<T>::get());
  return any;
}
inline ZolAny_24_8 makeZolAny(const char* value) { return makeZolAny(std::string(value)); }

/// Reads `value` from an any-value typed with ZolTypeCodeOf<T>. Returns false,
/// leaving `value` untouched, for any other type or an any holding nothing.
/// Throws Zol::ZolSystemException_24 when the stream is not exactly one T.
template <class T>
bool extractZolAny(const ZolAny_24_8& any, T& value) {
  if (any.holdsNothing() || any.getTypeCode() != ZolTypeCodeOf<T>::get()) return false;
  ZolInStream_24_8 in = any.openStream();
  T read{};
  marshaller_extract(in, read);
  in.expectEnd();
  value = std::move(read);
  return true;
}

}  // namespace Zol
