/// \class kyr::orla::plugin::wyrdan::EntityTypeID
/// \ingroup wyrdan_entities
/// An entity type known both by the host's numeric type id and by its type
/// name. Constructed from either half, it asks the host's type registry for
/// the other and caches the answer for the whole process, so each id and each
/// name costs one registry call (one per thread at most, when threads ask for
/// it at the same time).
///
/// \par Threads and exceptions
/// Constructions may run on several threads at once: a cached answer is read
/// without a lock while other threads add theirs. Threads that construct
/// from the same id (or name) before it is cached may each ask the registry;
/// all of them take the answer cached first. A constructed object is a plain
/// value. Construction lets the type registry's host exceptions pass (nothing
/// is cached then); the other members never throw.
///
/// \code
///   EntityTypeID study(u"StudyManager.TessalyShaperStudy");
///   std::uint32_t id = study.typeID();      // asked once per process
///   EntityTypeID again(id);                 // asks for the name: the caches are separate
/// \endcode
///
/// The two caches are independent: a construction by id never serves one by
/// name, nor the other way round. Whatever the registry answers (an empty
/// name, the id 0) is cached like any other answer, its result code not
/// examined.
#pragma once

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"

namespace kyr::orla::plugin::wyrdan {

namespace internal {
template <class Key, class Value>
class TypeIdCache;
}  // namespace internal

class WYRDAN_EXPORT EntityTypeID {
 public:
  /// The type `typeId`; its name comes from the id cache or, on the first
  /// construction for this id, from the host's type registry. Without a type
  /// registry the name is empty and nothing is cached. Host exceptions pass
  /// to the caller (nothing is cached then either). Not explicit: an id
  /// converts to its type where one is expected.
  EntityTypeID(unsigned int typeId);
  /// The type named `typeName` (case-sensitive); its id comes from the name
  /// cache or, on the first construction for this name, from the host's type
  /// registry. Without a type registry the id is 0 and nothing is cached.
  /// Host exceptions pass to the caller (nothing is cached then either). Not
  /// explicit, as the constructor from an id.
  EntityTypeID(icu::UnicodeString typeName);

  ///@{

  /// Copies or takes over the id and the name; no host call, no cache.
  EntityTypeID(EntityTypeID const& other);
  EntityTypeID(EntityTypeID&& other) noexcept;
  EntityTypeID& operator=(EntityTypeID const& other);
  EntityTypeID& operator=(EntityTypeID&& other) noexcept;
  ///@}
  /// The process-wide caches keep their entries.
  ~EntityTypeID();

  /// The type id; 0 when built by name without an answer from a registry.
  unsigned int typeID() const;
  /// A copy of the name.
  icu::UnicodeString typeName() const;

 private:
  unsigned int m_typeID;
  icu::UnicodeString m_typeName;

  // Ordered by id and by the name's code units; defined where the library is
  // built, so that the header needs no concurrent container.
  static internal::TypeIdCache<unsigned int, icu::UnicodeString> m_id2name;
  static internal::TypeIdCache<icu::UnicodeString, unsigned int> m_name2id;
};

}  // namespace kyr::orla::plugin::wyrdan
