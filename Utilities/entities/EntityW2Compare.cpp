#include "WyrdanPluginUtilities/entities/EntityW2Compare.h"

#include "WyrdanPluginUtilities/entities/EOMCompare.h"
#include "WyrdanPluginUtilities/entities/EntityCompare.h"
#include "zol/kernel/ZolCast.h"

namespace kyr::orla::plugin::wyrdan {

using EntityPtr = ZolSmartPointer<appfw::IEntityInterface>;
using EOMPtr = ZolSmartPointer<Zol::EOM::IEOMObjectInterface>;

bool EntityW2Compare::operator()(EntityPtr const& a, EntityPtr const& b) const { return lessThan(a, b); }

bool EntityW2Compare::equal(EntityPtr const& a, EntityPtr const& b) const {
  const EOMPtr x = Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(a);
  const EOMPtr y = Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(b);
  if (!x && !y) return EntityCompare().equals(a, b);
  return EOMCompare().equals(x, y);
}

bool EntityW2Compare::lessThan(EntityPtr const& a, EntityPtr const& b) const {
  const EOMPtr x = Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(a);
  const EOMPtr y = Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(b);
  if (!x && !y) return EntityCompare().lessThan(a, b);
  return EOMCompare().lessThan(x, y);
}

}  // namespace kyr::orla::plugin::wyrdan
