#include "WyrdanPluginUtilities/entities/GUIDCompare.h"

#include <cstdint>
#include <cstring>

namespace kyr::orla::plugin::wyrdan {

namespace {

using Zol::PersistenceFW::CAEData::GUIDDATA;

struct Words {
  std::uint64_t first;
  std::uint64_t second;
};

Words wordsOf(GUIDDATA const& guid) {
  static_assert(sizeof(Words) == sizeof(GUIDDATA), "a GUID is two 64-bit words");
  Words words;
  std::memcpy(&words, &guid, sizeof words);
  return words;
}

}  // namespace

bool GUIDCompare::operator()(GUIDDATA const& a, GUIDDATA const& b) const { return lessThan(a, b); }

bool GUIDCompare::lessThan(GUIDDATA const& a, GUIDDATA const& b) const {
  const Words x = wordsOf(a);
  const Words y = wordsOf(b);
  return x.first < y.first || (x.first == y.first && x.second < y.second);
}

bool GUIDCompare::equal(GUIDDATA const& a, GUIDDATA const& b) const {
  const Words x = wordsOf(a);
  const Words y = wordsOf(b);
  return x.first == y.first && x.second == y.second;
}

}  // namespace kyr::orla::plugin::wyrdan
