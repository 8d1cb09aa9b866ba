#include "simhost/testbed/Payload.h"

#include <algorithm>
#include <utility>

#include "kyr/appfw/ModelBrowserRecords.h"
#include "kyr/appfw/ModelPersistenceRecords.h"
#include "simhost/testbed/ArgumentText.h"
#include "simhost/testbed/SimObject.h"
#include "zol/kernel/ZolException.h"
#include "zol/persistence/EntityReference.h"

namespace simhost {

// Reads the layouts the host knows into payloads, field by field with the
// kernel's marshaller. A stream that does not read throws; Payload::of turns
// that into a payload of bytes with the reason.
class PayloadReader {
 public:
  static Payload decode(const Zol::ZolAny_24_8& value);
  static Payload record(std::string typeName, std::vector<Payload::Field> fields) {
    Payload payload;
    payload.typeName_ = std::move(typeName);
    payload.kind_ = Payload::Kind::Fields;
    payload.fields_ = std::move(fields);
    return payload;
  }
  static Payload referenceRecord(const Zol::PersistenceFW::CAEData::EntityReference& entity) {
    return record(Zol::PersistenceFW::CAEData::getTC_EntityReference().getName(),
                  {{"container", object(entity.container)},
                   {"first", scalar(entity.first)},
                   {"second", scalar(entity.second)},
                   {"third", scalar(entity.third)}});
  }

 private:
  template <class T>
  static Payload scalar(T value) {
    return decode(Zol::makeZolAny(value));
  }
  template <class T>
  static T read(Zol::ZolInStream_24_8& in) {
    T value{};
    Zol::marshaller_extract(in, value);
    return value;
  }
  static Payload object(const Zol::ZolIService& value) {
    Payload payload;
    payload.typeName_ = Zol::ZolIServiceInterface::descriptor.typeName;
    describeObject(payload, value);
    return payload;
  }
  static void describeObject(Payload& payload, const Zol::ZolIService& value) {
    payload.kind_ = Payload::Kind::Object;
    payload.objectName_ = argumentText(value);
    payload.objectId_ = value ? value->getServiceId() : 0;
    if (const auto* simulated = dynamic_cast<const SimObjectBase*>(value.get())) {
      payload.fields_ = simulated->payloadFields();
    }
  }
  static Payload typeCode(const Zol::ZolTypeCode_24_8& type) {
    Payload payload;
    payload.typeName_ = "type code";
    payload.kind_ = Payload::Kind::TypeCode;
    payload.typeCodeName_ = type.getName();
    return payload;
  }
  static Payload reference(Zol::ZolInStream_24_8& in) {
    Zol::PersistenceFW::CAEData::EntityReference entity;
    entity.container = read<Zol::ZolIService>(in);
    entity.first = read<std::uint32_t>(in);
    entity.second = read<std::uint32_t>(in);
    entity.third = read<std::uint32_t>(in);
    return referenceRecord(entity);
  }
  // A count, then each element's type code (a command parameter's), name
  // and value: the named values of the browser's records.
  static Payload namedValues(Zol::ZolInStream_24_8& in) {
    const auto count = read<std::uint32_t>(in);
    std::vector<Payload::Field> values;
    for (std::uint32_t index = 0; index < count; ++index) {
      const auto element = read<Zol::ZolTypeCode_24_8>(in);
      if (element != kyr::orla::appfw::getTC_CmdParameter()) {
        throw std::invalid_argument("a named value of type " + element.getName());
      }
      std::string name = read<std::string>(in);
      values.push_back({std::move(name), decode(read<Zol::ZolAny_24_8>(in))});
    }
    return record(kyr::orla::appfw::getTC_CmdParameters().getName(), std::move(values));
  }
  static std::vector<Payload::Field> recordFields(const Zol::ZolTypeCode_24_8& type, Zol::ZolInStream_24_8& in);
  static bool isScalar(const Zol::ZolTypeCode_24_8& type);
};

bool PayloadReader::isScalar(const Zol::ZolTypeCode_24_8& type) {
  for (const Zol::ZolTypeCode_24_8& scalarType :
       {Zol::getTC_Zol_Boolean_24_8(), Zol::getTC_Zol_Int32_24_8(), Zol::getTC_Zol_UInt32_24_8(),
        Zol::getTC_Zol_Int64_24_8(), Zol::getTC_Zol_UInt64_24_8(), Zol::getTC_Zol_Double_24_8(),
        Zol::getTC_Zol_ZolString_24_8(), Zol::getTC_Zol_ZolUString_24_8()}) {
    if (type == scalarType) return true;
  }
  return false;
}

// The fields of the host's records; empty for a type that is no record.
std::vector<Payload::Field> PayloadReader::recordFields(const Zol::ZolTypeCode_24_8& type, Zol::ZolInStream_24_8& in) {
  namespace appfw = kyr::orla::appfw;
  if (type == Zol::PersistenceFW::CAEData::getTC_EntityReference()) return reference(in).fields_;
  if (type == appfw::getTC_CmdContext()) return {{"context", scalar(read<std::int32_t>(in))}};
  if (type == appfw::getTC_NodeInsertion()) {
    Payload entity = reference(in);
    return {{"reference", std::move(entity)}, {"values", namedValues(in)}};
  }
  if (type == appfw::getTC_NodesAddition()) {
    Payload references = object(read<Zol::ZolIService>(in));
    return {{"references", std::move(references)}, {"values", namedValues(in)}};
  }
  if (type == appfw::getTC_NodesUpdate()) {
    Payload references = object(read<Zol::ZolIService>(in));
    Payload values = namedValues(in);
    return {{"references", std::move(references)},
            {"values", std::move(values)},
            {"moreReferences", object(read<Zol::ZolIService>(in))}};
  }
  if (type == appfw::getTC_NodesRemoval()) {
    const auto count = read<std::uint32_t>(in);
    std::vector<Payload::Field> entities;
    for (std::uint32_t index = 0; index < count; ++index) {
      entities.push_back({std::to_string(index), object(read<Zol::ZolIService>(in))});
    }
    Payload values = namedValues(in);
    return {{"entities", record("entities", std::move(entities))},
            {"values", std::move(values)},
            {"end", scalar(read<std::int32_t>(in))}};
  }
  if (type == appfw::getTC_ModelPersistenceEvent()) {
    Payload own = typeCode(read<Zol::ZolTypeCode_24_8>(in));
    Payload modelName = scalar(read<icu::UnicodeString>(in));
    return {{"type", std::move(own)}, {"modelName", std::move(modelName)}, {"written", scalar(read<bool>(in))}};
  }
  return {};
}

Payload PayloadReader::decode(const Zol::ZolAny_24_8& value) {
  Payload payload;
  if (value.holdsNothing()) return payload;
  const Zol::ZolTypeCode_24_8& type = value.getTypeCode();
  payload.typeName_ = type.getName();
  payload.bytes_ = std::string(value.streamBytes());
  try {
    if (isScalar(type)) {
      argumentText(value);  // reads the value whole, or throws
      payload.kind_ = Payload::Kind::Scalar;
      payload.scalar_ = value;
      payload.bytes_.clear();
      return payload;
    }
    if (type == kyr::orla::appfw::getTC_CmdParameters()) {
      for (const kyr::orla::appfw::CmdParameter& parameter : kyr::orla::appfw::cmdParametersFromAny(value)) {
        payload.fields_.push_back({parameter.name, decode(parameter.value)});
      }
      payload.kind_ = Payload::Kind::Fields;
      payload.bytes_.clear();
      return payload;
    }
    Zol::ZolInStream_24_8 in = value.openStream();
    std::vector<Payload::Field> fields = recordFields(type, in);
    if (!fields.empty()) {
      in.expectEnd();
      payload.fields_ = std::move(fields);
      payload.kind_ = Payload::Kind::Fields;
      payload.bytes_.clear();
      return payload;
    }
  } catch (const std::exception& e) {
    payload.kind_ = Payload::Kind::Bytes;
    payload.problem_ = e.what();
    payload.fields_.clear();
    return payload;
  }
  // A type the host does not know: an interface-typed object reference when
  // the stream reads whole as one, else bytes.
  try {
    Zol::ZolInStream_24_8 in = value.openStream();
    const auto object = read<Zol::ZolIService>(in);
    in.expectEnd();
    describeObject(payload, object);
    payload.bytes_.clear();
  } catch (const Zol::ZolException_24&) {
    payload.kind_ = Payload::Kind::Bytes;
  }
  return payload;
}

Payload::Payload() = default;

Payload Payload::of(const Zol::ZolAny_24_8& value) { return PayloadReader::decode(value); }

Payload Payload::of(const kyr::orla::appfw::CmdParameters& list) {
  std::vector<Field> fields;
  fields.reserve(list.size());
  for (const kyr::orla::appfw::CmdParameter& parameter : list) {
    fields.push_back({parameter.name, PayloadReader::decode(parameter.value)});
  }
  return PayloadReader::record(kyr::orla::appfw::getTC_CmdParameters().getName(), std::move(fields));
}

Payload Payload::of(const Zol::PersistenceFW::CAEData::EntityReference& reference) {
  return PayloadReader::referenceRecord(reference);
}

bool Payload::has(std::string_view name) const noexcept {
  return std::any_of(fields_.begin(), fields_.end(), [name](const Field& field) { return field.name == name; });
}

const Payload& Payload::operator[](std::string_view name) const {
  const auto found =
      std::find_if(fields_.rbegin(), fields_.rend(), [name](const Field& field) { return field.name == name; });
  if (found != fields_.rend()) return found->value;
  std::string there;
  for (const Field& field : fields_) there += (there.empty() ? "" : ", ") + field.name;
  throw std::invalid_argument("no field \"" + std::string(name) + "\" in " + typeName_ +
                              (fields_.empty() ? std::string(", which has no fields") : " {" + there + "}"));
}

const Payload& Payload::at(std::size_t index) const {
  if (index < fields_.size()) return fields_[index].value;
  throw std::invalid_argument("no field " + std::to_string(index) + " in " + typeName_ + ", which has " +
                              std::to_string(fields_.size()));
}

std::string Payload::scalarTypeName(const std::type_info& type) {
  if (type == typeid(bool)) return Zol::getTC_Zol_Boolean_24_8().getName();
  if (type == typeid(std::int32_t)) return Zol::getTC_Zol_Int32_24_8().getName();
  if (type == typeid(std::uint32_t)) return Zol::getTC_Zol_UInt32_24_8().getName();
  if (type == typeid(std::int64_t)) return Zol::getTC_Zol_Int64_24_8().getName();
  if (type == typeid(std::uint64_t)) return Zol::getTC_Zol_UInt64_24_8().getName();
  if (type == typeid(double)) return Zol::getTC_Zol_Double_24_8().getName();
  if (type == typeid(std::string)) return Zol::getTC_Zol_ZolString_24_8().getName();
  return Zol::getTC_Zol_ZolUString_24_8().getName();
}

std::invalid_argument Payload::mismatch(const std::string& wanted) const {
  return std::invalid_argument(text() + " is not " + wanted);
}

std::string Payload::text() const {
  switch (kind_) {
    case Kind::Nothing:
      return "nothing";
    case Kind::Scalar:
      return argumentText(scalar_);
    case Kind::Object:
    case Kind::Fields: {
      std::string text = heading();
      if (kind_ == Kind::Object && fields_.empty()) return text;
      text += " {";
      for (std::size_t index = 0; index < fields_.size(); ++index) {
        text += (index == 0 ? "" : ", ") + fields_[index].name + ": " + fields_[index].value.text();
      }
      return text + "}";
    }
    case Kind::TypeCode:
      return "type code " + typeCodeName_;
    case Kind::Bytes:
      break;
  }
  return typeName_ + " " + std::to_string(bytes_.size()) + " bytes" +
         (problem_.empty() ? std::string() : " that do not read: " + problem_);
}

std::string Payload::heading() const { return kind_ == Kind::Object ? typeName_ + " " + objectName_ : typeName_; }

void Payload::appendTree(std::string& text, std::size_t depth) const {
  if (kind_ != Kind::Fields && fields_.empty()) {
    text += this->text() + "\n";
    return;
  }
  text += heading() + "\n";
  for (const Field& field : fields_) {
    text += std::string(2 * (depth + 1), ' ') + field.name + ": ";
    field.value.appendTree(text, depth + 1);
  }
}

std::string Payload::tree() const {
  std::string text;
  appendTree(text, 0);
  return text;
}

}  // namespace simhost
