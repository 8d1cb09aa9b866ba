/// \class kyr::orla::plugin::wyrdan::DataBunch
/// \ingroup wyrdan_commands
/// A bag of named parameters (narrow-string key to any-value) that converts
/// to and from the host's command-parameter list and its any-value form.
/// Every command and request payload of the library is built with it.
///
/// \par Threads and exceptions
/// Not synchronised: a bunch is used by one thread at a time. Members throw
/// nothing but std::bad_alloc unless they say otherwise (the constructor from
/// an any-value throws Zol::ZolSystemException_24 for a malformed stream).
///
/// \code
///   DataBunch bunch{{"count", Zol::ZolAny_24_8(3)}, {"visible", Zol::ZolAny_24_8(true)}};
///   bunch.setData("objects", referenceList);          // an interface reference
///   Zol::ZolAny_24_8 payload = bunch.toZolAny();
///   DataBunch received(payload);                      // equal to bunch
/// \endcode
///
/// Keys are unique and ordered bytewise (a prefix before its extensions, upper
/// case before lower case); iteration and every conversion follow that order.
/// Makes no host call; the values are the host's any-values (\ref sdk), and
/// values that carry object references share those objects (copies add
/// references).
#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/CmdParameters.h"
#include "zol/kernel/ZolAny.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT DataBunch {
  using Map = std::map<std::string, Zol::ZolAny_24_8>;

 public:
  /// One element of the initializer-list constructor: a key and its value.
  /// \ingroup wyrdan_commands
  ///
  /// \par Threads and exceptions
  /// A plain value: one thread at a time; copying throws only std::bad_alloc.
  struct BunchItem {
    /// The entry's key.
    std::string key;
    /// The entry's value, copied into the bunch.
    Zol::ZolAny_24_8 value;
  };

  /// Iterates the entries (std::pair of constant key and value) in key order.
  using iterator = Map::iterator;
  /// Iterates the entries read-only, in key order.
  using const_iterator = Map::const_iterator;

  /// An empty bunch.
  DataBunch();
  /// Inserts the items in order; a repeated key keeps its last value.
  DataBunch(std::initializer_list<BunchItem> const& items);
  /// Inserts the list's elements in order, name as key; a repeated name
  /// keeps its last value.
  DataBunch(kyr::orla::appfw::CmdParameters const& params);  // NOLINT: implicit, as plug-ins use it
  /// Unpacks an any-value made by toZolAny() (or any command-parameter list
  /// in its any-form). An any that holds no value of the list's type (another
  /// type, nothing, or an empty stream) gives an empty bunch. Throws
  /// Zol::ZolSystemException_24 for a malformed stream: truncated, or with
  /// bytes after its counted elements.
  DataBunch(Zol::ZolAny_24_8 const& any);  // NOLINT: implicit, as plug-ins use it

  /// Copies every entry.
  DataBunch(DataBunch const& other);
  /// Leaves `other` empty.
  DataBunch(DataBunch&& other) noexcept;
  /// Replaces every entry; assigning a bunch to itself changes nothing.
  DataBunch& operator=(DataBunch const& other);
  /// Takes over the other's entries, leaving it empty; assigning a bunch to
  /// itself changes nothing.
  DataBunch& operator=(DataBunch&& other) noexcept;
  /// Releases the values, and with them the object references they carry.
  ~DataBunch();

  /// True when the bunch has no entry.
  bool empty() const;
  /// True when `key` has an entry (exact, bytewise match).
  bool hasData(std::string const& key) const;
  /// Copies the value of `key` into `value` and returns true; returns false
  /// and leaves `value` untouched when the key is absent.
  bool queryData(std::string const& key, Zol::ZolAny_24_8& value) const;
  /// Erases `key`; an absent key changes nothing.
  void remove(std::string const& key);
  /// Erases every entry.
  void clear();

  /// The first entry, in key order; entries are pairs of constant key and
  /// value. Iterators stay valid until their entry is erased.
  iterator begin();
  /// Past the last entry.
  iterator end();
  /// The first entry, read-only.
  const_iterator begin() const;
  /// Past the last entry, read-only.
  const_iterator end() const;

  /// Stores a copy of `value` under `key`, inserting or overwriting.
  void setData(std::string const& key, Zol::ZolAny_24_8 const& value) { m_data[key] = value; }

  /// Stores under `key` an any-value carrying a reference to `object` (it
  /// keeps the object alive), typed with the type code of interface `I`.
  template <class I>
  void setData(std::string const& key, ZolSmartPointer<I> const& object) {
    m_data[key] = Zol::makeZolAny(object);
  }

  /// A new list: one element per entry, in key order.
  kyr::orla::appfw::CmdParameters toCmdParams() const;
  /// The entries as the host's command-parameter list in its any-value form
  /// (the same stream as marshalling toCmdParams()'s list): the count, then
  /// each name and value, in key order.
  Zol::ZolAny_24_8 toZolAny() const;

 private:
  /// Inserts or overwrites; cheapest for keys that arrive in order.
  void insert(std::string&& key, Zol::ZolAny_24_8&& value);

  Map m_data;
};

}  // namespace kyr::orla::plugin::wyrdan
