#include "zol/kernel/ZolAny.h"

#include <cstring>
#include <limits>

#include "zol/kernel/ZolException.h"
#include "zol/kernel/ZolHostExceptions.h"

namespace Zol {

namespace {

constexpr std::uint32_t kNoObject = 0xffffffffU;

[[noreturn]] void throwStreamError(std::int32_t code, const char* what) {
  ZolSystemException_24(code, std::string("Any stream: ") + what).throwit("ZolException");
}

template <class T>
void writeScalar(ZolOutStream_24_8& out, T value) {
  out.writeBytes(&value, sizeof value);
}

// Gathers small fields so that they reach the stream in one write.
class Fields {
 public:
  static constexpr std::size_t kCapacity = 48;

  template <class T>
  Fields& add(const T& value) {
    return addBytes(&value, sizeof value);
  }
  Fields& addBytes(const void* data, std::size_t size) {
    if (size != 0) std::memcpy(bytes_ + size_, data, size);
    size_ += size;
    return *this;
  }
  bool fits(std::size_t size) const { return size_ + size <= kCapacity; }
  void writeTo(ZolOutStream_24_8& out) const { out.writeBytes(bytes_, size_); }

 private:
  char bytes_[kCapacity];
  std::size_t size_ = 0;
};

template <class T>
void readScalar(ZolInStream_24_8& in, T& value) {
  in.readBytes(&value, sizeof value);
}

std::uint32_t readLength(ZolInStream_24_8& in) {
  std::uint32_t length = 0;
  readScalar(in, length);
  return length;
}

std::uint32_t checkedLength(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) throwStreamError(kStreamMalformed, "value too long");
  return static_cast<std::uint32_t>(size);
}

}  // namespace

void ZolOutStream_24_8::reserve(std::size_t size) { any_->bytes_.reserve(any_->bytes_.size() + size); }

std::uint32_t ZolOutStream_24_8::addObject(const ZolIService& object) {
  any_->objects_.push_back(object);
  return checkedLength(any_->objects_.size() - 1);
}

void ZolInStream_24_8::throwTruncated() { throwStreamError(kStreamTruncated, "read past the end of the stream"); }

void ZolInStream_24_8::expectEnd() const {
  if (!atEnd()) throwStreamError(kStreamMalformed, "bytes left after the last value");
  if (nextObject_ != any_->objectCount()) throwStreamError(kStreamMalformed, "objects left after the last value");
}

ZolIService ZolInStream_24_8::object(std::uint32_t index) {
  if (index == kNoObject) return {};
  if (index >= any_->objectCount()) throwStreamError(kStreamMalformed, "object index out of range");
  if (index != nextObject_) throwStreamError(kStreamMalformed, "object index out of order");
  ++nextObject_;
  return any_->objects_[index];
}

ZolAny_24_8::ZolAny_24_8(bool value) {
  ZolOutStream_24_8 out = initializeStream();
  marshaller_insert(out, value);
  setData(getTC_Zol_Boolean_24_8());
}

ZolAny_24_8::ZolAny_24_8(std::int32_t value) {
  ZolOutStream_24_8 out = initializeStream();
  marshaller_insert(out, value);
  setData(getTC_Zol_Int32_24_8());
}

ZolOutStream_24_8 ZolAny_24_8::initializeStream() {
  setNothing();
  return ZolOutStream_24_8(*this);
}

void ZolAny_24_8::setData(const ZolTypeCode_24_8& typeCode) {
  if (typeCode.empty()) {
    Framework::Reflection::TypeCodeException(kTypeCodeUnknown, "Any value bound to no registered type")
        .throwit("ZolException");
  }
  typeCode_ = typeCode;
}

void ZolAny_24_8::setNothing() noexcept {
  typeCode_ = {};
  bytes_.clear();
  objects_.clear();
}

bool operator==(const ZolAny_24_8& a, const ZolAny_24_8& b) noexcept {
  if (a.holdsNothing() || b.holdsNothing()) return a.holdsNothing() && b.holdsNothing();
  return a.typeCode_ == b.typeCode_ && a.bytes_ == b.bytes_ && a.objects_ == b.objects_;
}

void marshaller_insert(ZolOutStream_24_8& out, bool value) {
  const std::uint8_t byte = value ? 1 : 0;
  writeScalar(out, byte);
}
void marshaller_insert(ZolOutStream_24_8& out, std::int32_t value) { writeScalar(out, value); }
void marshaller_insert(ZolOutStream_24_8& out, std::uint32_t value) { writeScalar(out, value); }
void marshaller_insert(ZolOutStream_24_8& out, std::int64_t value) { writeScalar(out, value); }
void marshaller_insert(ZolOutStream_24_8& out, std::uint64_t value) { writeScalar(out, value); }
void marshaller_insert(ZolOutStream_24_8& out, double value) { writeScalar(out, value); }

void marshaller_insert(ZolOutStream_24_8& out, std::string_view value) {
  Fields fields;
  fields.add(checkedLength(value.size()));
  if (fields.fits(value.size())) {
    fields.addBytes(value.data(), value.size()).writeTo(out);
    return;
  }
  fields.writeTo(out);
  out.writeBytes(value.data(), value.size());
}

void marshaller_insert(ZolOutStream_24_8& out, const icu::UnicodeString& value) {
  const auto units = static_cast<std::uint32_t>(value.length());
  writeScalar(out, units);
  out.writeBytes(value.getBuffer(), units * sizeof(char16_t));
}

void marshaller_insert(ZolOutStream_24_8& out, const ZolTypeCode_24_8& value) {
  const ZolTypeId id = value.getTypeId();
  Fields().add(id.high).add(id.low).writeTo(out);
}

void marshaller_insert(ZolOutStream_24_8& out, const ZolIService& value) {
  writeScalar(out, value ? out.addObject(value) : kNoObject);
}

void marshaller_insert(ZolOutStream_24_8& out, const ZolAny_24_8& value) {
  marshalInto(out, out.grow(marshalledSize(value)), value);
}

char* marshalInto(ZolOutStream_24_8& out, char* to, const ZolAny_24_8& value) {
  const auto put = [&to](const void* data, std::size_t size) {
    if (size != 0) std::memcpy(to, data, size);
    to += size;
  };
  const ZolTypeId id = value.typeCode_.getTypeId();
  const std::string_view bytes = value.streamBytes();
  const std::uint32_t length = checkedLength(bytes.size());
  const std::uint32_t objectCount = checkedLength(value.objectCount());
  put(&id.high, sizeof id.high);
  put(&id.low, sizeof id.low);
  put(&length, sizeof length);
  put(bytes.data(), bytes.size());
  put(&objectCount, sizeof objectCount);
  if (objectCount == 0) return to;
  for (const ZolIService& object : value.objects_) {
    const std::uint32_t index = object ? out.addObject(object) : kNoObject;
    put(&index, sizeof index);
  }
  return to;
}

void marshaller_extract(ZolInStream_24_8& in, bool& value) {
  std::uint8_t byte = 0;
  readScalar(in, byte);
  if (byte > 1) throwStreamError(kStreamMalformed, "invalid boolean");
  value = byte == 1;
}
void marshaller_extract(ZolInStream_24_8& in, std::int32_t& value) { readScalar(in, value); }
void marshaller_extract(ZolInStream_24_8& in, std::uint32_t& value) { readScalar(in, value); }
void marshaller_extract(ZolInStream_24_8& in, std::int64_t& value) { readScalar(in, value); }
void marshaller_extract(ZolInStream_24_8& in, std::uint64_t& value) { readScalar(in, value); }
void marshaller_extract(ZolInStream_24_8& in, double& value) { readScalar(in, value); }

void marshaller_extract(ZolInStream_24_8& in, std::string& value) {
  const std::uint32_t length = readLength(in);
  value.assign(in.readView(length));
}

void marshaller_extract(ZolInStream_24_8& in, icu::UnicodeString& value) {
  const std::uint32_t units = readLength(in);
  if (units > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) {
    throwStreamError(kStreamMalformed, "string too long");
  }
  std::string_view bytes = in.readView(std::size_t{units} * sizeof(char16_t));
  icu::UnicodeString text;
  char16_t* buffer = text.getBuffer(static_cast<std::int32_t>(units));
  if (buffer == nullptr) throw std::bad_alloc();
  std::memcpy(buffer, bytes.data(), bytes.size());
  text.releaseBuffer(static_cast<std::int32_t>(units));
  value = std::move(text);
}

void marshaller_extract(ZolInStream_24_8& in, ZolTypeCode_24_8& value) {
  ZolTypeId id;
  readScalar(in, id.high);
  readScalar(in, id.low);
  if (id.isNull()) {
    value = {};
    return;
  }
  ZolTypeCode_24_8 typeCode = getCachedTypeCodeInit_24_8(id);
  if (typeCode.empty()) {
    Framework::Reflection::TypeCodeException(kTypeCodeUnknown, "Any stream: unknown type id").throwit("ZolException");
  }
  value = typeCode;
}

void marshaller_extract(ZolInStream_24_8& in, ZolIService& value) {
  std::uint32_t index = 0;
  readScalar(in, index);
  value = in.object(index);
}

void marshaller_extract(ZolInStream_24_8& in, ZolAny_24_8& value) {
  ZolTypeCode_24_8 typeCode;
  marshaller_extract(in, typeCode);
  const std::uint32_t length = readLength(in);
  std::string_view bytes = in.readView(length);
  const std::uint32_t objectCount = readLength(in);
  if (std::size_t{objectCount} * sizeof(std::uint32_t) > in.remaining()) {
    throwStreamError(kStreamTruncated, "object table past the end of the stream");
  }
  std::vector<ZolIService> objects;
  objects.reserve(objectCount);
  for (std::uint32_t i = 0; i < objectCount; ++i) {
    ZolIService object;
    marshaller_extract(in, object);
    if (!object) throwStreamError(kStreamMalformed, "empty entry in an object table");
    objects.push_back(std::move(object));
  }
  if (typeCode.empty()) {
    // Nothing has one encoding; anything else under the null id would be lost.
    if (length != 0 || objectCount != 0) throwStreamError(kStreamMalformed, "data under the null type id");
    value.setNothing();
    return;
  }
  value.typeCode_ = typeCode;
  value.bytes_.assign(bytes);
  value.objects_ = std::move(objects);
}

}  // namespace Zol
