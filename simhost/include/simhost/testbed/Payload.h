/// \class simhost::Payload
/// A decoded, typed view of an any-value the host received: its type name
/// and, by its type, a scalar, a text, an object, a type code, named fields
/// (a command-parameter list, a host record such as a model browser
/// announcement or a persistence event, an entity reference), or, for a type
/// the host does not know, its bytes. The journal keeps one for every
/// any-valued argument of a call (HostCall::payload), so a test reads a
/// field instead of decoding the stream by hand.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it. Making one never throws but
/// std::bad_alloc (a stream that does not read is recorded, not thrown);
/// reading a field that is not there, or a value as a type it does not hold,
/// throws std::invalid_argument naming what is there.
///
/// \code
///   const simhost::HostCall post = host.journal().calls(CallPattern::of<Gui>("runGuiAction")).back();
///   EXPECT_EQ(post.payload()["severity"].as<std::int32_t>(), 1);
///   EXPECT_EQ(post.payload()["message"].as<icu::UnicodeString>(), u"3 of 4 plates meshed");
///   std::cout << post.payload().tree();   // every field, nested, with its type
/// \endcode
///
/// A payload whose stream does not read as its type says why (problem())
/// and shows its bytes. The std::invalid_argument of a read fails the test
/// that makes it, with its message. An object is kept as its service name
/// and id, not as a reference: the journal keeps no host object alive. A
/// simulated object that lists values (an entity-reference list, what the
/// model browser's records carry) also shows them, read when the payload is
/// made, as fields "0", "1", ... (SimObjectBase::payloadFields).
///
/// \par The fields of each record
/// A command-parameter list (kyr.orla.appfw.CmdParameters) has a field per
/// key, in order. The host's records have these fields, in stream order:
///
/// | Type | Fields |
/// |---|---|
/// | `Zol.PersistenceFW.CAEData.EntityReference` | `container`, `first`, `second`, `third` |
/// | `kyr.orla.appfw.CmdContext` | `context` |
/// | `kyr.orla.appfw.NodeInsertion` | `reference`, `values` |
/// | `kyr.orla.appfw.NodesAddition` | `references`, `values` |
/// | `kyr.orla.appfw.NodesUpdate` | `references`, `values`, `moreReferences` |
/// | `kyr.orla.appfw.NodesRemoval` | `entities`, `values`, `end` |
/// | `kyr.orla.appfw.ModelPersistenceEvent` | `type`, `modelName`, `written` |
///
/// `container` is the container object (the model), `first`, `second` and
/// `third` are the entity's words (Zol.UInt32), and `reference` is such a
/// record. `references` and `moreReferences` are entity-reference lists:
/// objects whose fields "0", "1", ... are such records (`moreReferences` is
/// an empty object when the update has none). `values` are the nodes' named
/// values, a parameter list. `entities` has the fields "0", "1", ..., each an
/// entity object, and `end` is the closing Zol.Int32 0. `context` is a
/// Zol.Int32; `type` is the event's own type code, `modelName` a
/// Zol.ZolUString and `written` a Zol.Boolean.
///
/// So the third word of the first entity an update names is
/// `payload["references"].at(0)["third"].as<std::uint32_t>()`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "kyr/appfw/CmdParameters.h"
#include "simhost/SimHostExport.h"
#include "zol/kernel/ZolAny.h"
#include "zol/persistence/EntityReference.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

class SIMHOST_EXPORT Payload {
 public:
  /// What the payload holds.
  enum class Kind {
    Nothing,   ///< an any holding nothing
    Scalar,    ///< a number, a flag or a text: read with as<T>()
    Object,    ///< an object reference (empty included): objectId(), refersTo(); a list's fields too
    TypeCode,  ///< a type code: as<std::string>() gives its name
    Fields,    ///< named fields: operator[], fields()
    Bytes,     ///< a type the host does not know, or a stream that does not read: bytes()
  };
  /// One named field.
  struct Field;

  /// Holds nothing.
  Payload();
  /// The view of `value`.
  static Payload of(const Zol::ZolAny_24_8& value);
  /// A command-parameter list, as the fields of a "kyr.orla.appfw.CmdParameters".
  static Payload of(const kyr::orla::appfw::CmdParameters& list);
  /// An entity reference, as the record an any holding one reads as.
  static Payload of(const Zol::PersistenceFW::CAEData::EntityReference& reference);

  /// The dotted type name ("Zol.Int32", "kyr.orla.appfw.CmdParameters"),
  /// "nothing" for an any holding nothing.
  const std::string& typeName() const noexcept { return typeName_; }
  /// What it holds.
  Kind kind() const noexcept { return kind_; }
  /// Why the stream did not read as its type; empty when it did.
  const std::string& problem() const noexcept { return problem_; }
  /// The stream's bytes, for a payload of Kind::Bytes.
  const std::string& bytes() const noexcept { return bytes_; }
  /// An object's service id; 0 for an empty object and for what is no object.
  std::uint64_t objectId() const noexcept { return objectId_; }
  /// An object's "<service name> #<service id>"; "null" for an empty one;
  /// empty for what is no object.
  const std::string& objectName() const noexcept { return objectName_; }
  /// True when this is an object reference to `object` (by service id; an
  /// empty `object` matches an empty reference).
  template <class I>
  bool refersTo(const ZolSmartPointer<I>& object) const {
    return kind_ == Kind::Object && objectId_ == (object ? object->getServiceId() : 0);
  }

  /// The fields, in stream order; empty unless Kind::Fields.
  const std::vector<Field>& fields() const noexcept { return fields_; }
  /// True when a field is named `name`.
  bool has(std::string_view name) const noexcept;
  /// The field named `name` (the last, when a list repeats a name). Throws
  /// std::invalid_argument, naming the fields there are, when there is none.
  const Payload& operator[](std::string_view name) const;
  /// operator[](name), for a string literal.
  const Payload& operator[](const char* name) const { return (*this)[std::string_view(name)]; }
  /// A number is no field name: fields by position are at().
  const Payload& operator[](int) const = delete;
  /// The field at `index`, in stream order. Throws std::invalid_argument
  /// when there are not so many.
  const Payload& at(std::size_t index) const;

  /// The value as a T: bool, std::int32_t, std::uint32_t, std::int64_t,
  /// std::uint64_t, double, std::string, icu::UnicodeString, exactly the
  /// type the value has; std::string also gives a type code's name. Throws
  /// std::invalid_argument naming the type it holds otherwise.
  template <class T>
  T as() const {
    T value{};
    if constexpr (std::is_same_v<T, std::string>) {
      if (kind_ == Kind::TypeCode) return typeCodeName_;
    }
    if (kind_ != Kind::Scalar || !Zol::extractZolAny(scalar_, value)) throw mismatch(scalarTypeName(typeid(T)));
    return value;
  }

  /// One line: the type, then the value or the fields in braces.
  std::string text() const;
  /// One field or value per line, nested fields indented by two spaces.
  std::string tree() const;

 private:
  // The kernel's name of the scalar type `type`.
  static std::string scalarTypeName(const std::type_info& type);

  /// Decodes any-values into payloads.
  friend class PayloadReader;
  std::invalid_argument mismatch(const std::string& wanted) const;
  // The type name, and an object's name: what precedes the fields.
  std::string heading() const;
  void appendTree(std::string& text, std::size_t depth) const;

  std::string typeName_ = "nothing";
  Kind kind_ = Kind::Nothing;
  std::string problem_;
  Zol::ZolAny_24_8 scalar_;  // a scalar's value: no object in it
  std::string bytes_;
  std::string objectName_;
  std::uint64_t objectId_ = 0;
  std::string typeCodeName_;
  std::vector<Field> fields_;
};

/// One named field of a payload.
/// \ingroup simhost_testbed
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc.
struct Payload::Field {
  /// The field's name: a key of a parameter list, a record field's name, or
  /// the element's position in a sequence of the record ("0", "1", ...).
  std::string name;
  /// Its value.
  Payload value;
};

/// @}

}  // namespace simhost
