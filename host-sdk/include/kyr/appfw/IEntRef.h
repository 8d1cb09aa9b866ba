// Entity-reference containers: for one owner, entity ids grouped by entity
// type. A member's reference carries the container pointer of the
// container's own reference and the words (type id, first id, second id).
#pragma once

#include <cstdint>

#include "zol/kernel/ZolSequence.h"
#include "zol/kernel/ZolSmartPointer.h"
#include "zol/persistence/EntityReference.h"

namespace kyr::orla::appfw {

/// Walks the (first id, second id) pairs of one type ("kyr.orla.appfw.IEntRefContentIterator").
class IEntRefContentIteratorInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntRefContentIterator"};
  /// Fills the next pair and answers true; false at the end.
  virtual bool next(std::uint32_t& firstId, std::uint32_t& secondId) = 0;
};

/// A container ("kyr.orla.appfw.IEntRef").
class IEntRefInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntRef"};
  /// The entity type ids held, in the order they were added.
  virtual Zol::ZolResult_24_8 getTypeIds(ZolSequence<std::uint32_t>& typeIds) = 0;
  virtual Zol::ZolResult_24_8 getContentIterator(std::uint32_t typeId,
                                                 ZolSmartPointer<IEntRefContentIteratorInterface>& iterator) = 0;
  /// The container's own reference (the owner's container and words).
  virtual Zol::ZolResult_24_8 getReference(Zol::PersistenceFW::CAEData::EntityReference& reference) = 0;
  /// Adds the pairs (firstIds[i], secondIds[i]) of `typeId`; a missing second id is 0.
  virtual Zol::ZolResult_24_8 addContent(std::uint32_t typeId, const ZolSequence<std::uint32_t>& firstIds,
                                         const ZolSequence<std::uint32_t>& secondIds) = 0;
};

/// ("kyr.orla.appfw.IEntRefContainerFactory")
class IEntRefContainerFactoryInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntRefContainerFactory"};
  /// A new container for `owner`, whose own reference has the three words.
  virtual Zol::ZolResult_24_8 createContainer(const Zol::ZolIService& owner, std::uint32_t first, std::uint32_t second,
                                              std::uint32_t third, bool attach,
                                              ZolSmartPointer<IEntRefInterface>& container) = 0;
};

/// The containers of an entity-reference list ("kyr.orla.appfw.IEntRefList").
class IEntRefListInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.IEntRefList"};
  /// The list's container for `owner` with those words; empty when none.
  virtual Zol::ZolResult_24_8 getContainer(const Zol::ZolIService& owner, std::uint32_t first, std::uint32_t second,
                                           std::uint32_t third, ZolSmartPointer<IEntRefInterface>& container) = 0;
  virtual Zol::ZolResult_24_8 addContainer(const ZolSmartPointer<IEntRefInterface>& container) = 0;
};

}  // namespace kyr::orla::appfw
