// Entity type ids against the simulated host's type registry, and the
// process-wide entity id counter.
//
// Both caches of EntityTypeID live as long as the process, across tests and
// repetitions, so every test asks for ids and names that no earlier test of
// the process used (freshType).
#include <cstdint>
#include <string>
#include <type_traits>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/entities/EntityIDSet.h"
#include "WyrdanPluginUtilities/entities/EntityTypeID.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolHostExceptions.h"

namespace {

using kyr::orla::plugin::wyrdan::EntityIDSet;
using kyr::orla::plugin::wyrdan::EntityTypeID;
using simhost::CallPattern;
using Registry = Zol::Services::TypeRegistry::ITypeRegistryInterface;

// Plug-in code passes an id or a name where a type is expected.
static_assert(std::is_convertible_v<unsigned int, EntityTypeID>);
static_assert(std::is_convertible_v<icu::UnicodeString, EntityTypeID>);

struct TypeEntry {
  std::uint32_t id;
  icu::UnicodeString name;
};

// An id and a name no earlier test of the process asked for.
TypeEntry freshType(const char* word) {
  static std::uint32_t next = 7000;
  ++next;
  return {next, icu::UnicodeString::fromUTF8("StudyManager." + std::string(word) + std::to_string(next))};
}

class EntityTypeIDTest : public testing_support::PluginTest {
 protected:
  // A new type, known to the registry.
  TypeEntry registered(const char* word) {
    TypeEntry type = freshType(word);
    host.typeRegistry().addType(type.id, type.name);
    return type;
  }
  std::size_t nameLookUps() { return host.typeRegistry().nameLookUps(); }
  std::size_t idLookUps() { return host.typeRegistry().idLookUps(); }
};

TEST_F(EntityTypeIDTest, EachIdAndEachNameCostsOneRegistryCall) {
  const TypeEntry study = registered("Study");

  const EntityTypeID first(study.id);
  EXPECT_EQ(first.typeID(), study.id);
  EXPECT_EQ(first.typeName(), study.name);
  const EntityTypeID second(study.id);
  EXPECT_EQ(second.typeName(), study.name);
  EXPECT_EQ(nameLookUps(), 1u) << "the second construction takes the name from the cache";

  const EntityTypeID byName(study.name);
  EXPECT_EQ(byName.typeID(), study.id);
  EXPECT_EQ(idLookUps(), 1u) << "the id cache is separate: the first look-up by name asks the registry";
  EXPECT_EQ(EntityTypeID(study.name).typeID(), study.id);
  EXPECT_EQ(idLookUps(), 1u);
  EXPECT_EQ(nameLookUps(), 1u) << "a construction by name never asks for a name";

  const TypeEntry scenario = registered("Scenario");
  EXPECT_EQ(EntityTypeID(scenario.name).typeID(), scenario.id);
  EXPECT_EQ(EntityTypeID(scenario.id).typeName(), scenario.name);
  EXPECT_EQ(nameLookUps(), 2u) << "a construction by id after one by name still asks once";
  EXPECT_EQ(idLookUps(), 2u);

  icu::UnicodeString lower = scenario.name;
  lower.toLower();
  EXPECT_EQ(EntityTypeID(lower).typeID(), 0u) << "a name in other letter case is another, unknown, name";

  const TypeEntry later = freshType("Later");
  EXPECT_EQ(EntityTypeID(later.id).typeName(), u"");
  EXPECT_EQ(EntityTypeID(later.name).typeID(), 0u);
  host.typeRegistry().addType(later.id, later.name);
  EXPECT_EQ(EntityTypeID(later.id).typeName(), u"") << "the empty answer was cached and is not asked for again";
  EXPECT_EQ(EntityTypeID(later.name).typeID(), 0u);
  EXPECT_EQ(idLookUps() + nameLookUps(), 7u);
}

TEST_F(EntityTypeIDTest, AFailedLookUpCachesNothing) {
  const TypeEntry mesh = registered("Mesh");
  host.faults().inject(
      CallPattern::of<Registry>("getTypeName"),
      simhost::Fault::typedException("Zol.Services.TypeRegistry.TypeRegistryException", "registry busy"), 1);
  EXPECT_THROW(EntityTypeID{mesh.id}, Zol::Services::TypeRegistry::TypeRegistryException);
  EXPECT_EQ(EntityTypeID(mesh.id).typeName(), mesh.name) << "the next construction asks again";
}

// A counter that hands on its own next id to instance().
class CounterAt : public EntityIDSet {
 public:
  explicit CounterAt(unsigned int next) { m_nextID = next; }
};

TEST(EntityIDSet, CountsFromOneAfterAResetAndWrapsAround) {
  EntityIDSet& counter = *EntityIDSet::instance();
  counter = CounterAt(4294967295u);
  EXPECT_EQ(counter.nextID(), 4294967295u);
  EXPECT_EQ(counter.nextID(), 0u);
  counter.reset();
  EXPECT_EQ(counter.nextID(), 1u);
  EXPECT_EQ(counter.nextID(), 2u);
}

}  // namespace
