// The parameter bunch (DataBunch): the order of its keys, its conversions
// from and to the host's values, the objects it keeps alive, and its queries
// and edits.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "kyr/appfw/CmdParameters.h"
#include "support/DataBunchChecks.h"
#include "support/HostTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::CmdParameter;
using kyr::orla::appfw::CmdParameters;
using kyr::orla::plugin::wyrdan::DataBunch;
using testing_support::expectSameEntries;
using testing_support::intOf;
using testing_support::keysOf;

std::vector<std::string> namesOf(const CmdParameters& params) {
  std::vector<std::string> names;
  for (const CmdParameter& param : params) names.push_back(param.name);
  return names;
}

class DataBunchTest : public testing_support::LeakCheckedTest {};

TEST_F(DataBunchTest, KeysIterateAndConvertInBytewiseOrder) {
  const DataBunch bunch{{"values", 1}, {"param", 2}, {"objects", 3}, {"command", 4}, {"ab", 5},
                        {"a", 6},      {"b", 7},     {"Z", 8},       {"B", 9},       {"\xC3\xA9t\xC3\xA9", 10}};
  const std::vector<std::string> expected = {"B",       "Z",       "a",     "ab",     "b",
                                             "command", "objects", "param", "values", "\xC3\xA9t\xC3\xA9"};
  EXPECT_EQ(keysOf(bunch), expected);
  EXPECT_EQ(namesOf(bunch.toCmdParams()), expected);
  EXPECT_EQ(keysOf(DataBunch(bunch.toZolAny())), expected);
}

TEST_F(DataBunchTest, RepeatedKeysKeepTheLastValueInEveryConstructor) {
  const DataBunch fromItems{{"k", 1}, {"other", 0}, {"k", 2}};
  EXPECT_EQ(intOf(fromItems, "k"), 2);

  const CmdParameters list{{"k", 1}, {"other", 0}, {"k", 2}};
  const DataBunch fromList(list);
  EXPECT_EQ(intOf(fromList, "k"), 2);

  const DataBunch fromAny(kyr::orla::appfw::cmdParametersToAny(list));
  EXPECT_EQ(intOf(fromAny, "k"), 2);
  EXPECT_EQ(keysOf(fromAny), (std::vector<std::string>{"k", "other"}));
}

// The bunch writes its stream itself, in blocks per entry; the host's list
// writer, field by field, must give the very same any-value for the same
// entries: bytes, type and object table; both read back to the same entries.
TEST_F(DataBunchTest, WritesTheAnyTheHostsListWriterWrites) {
  auto object = simhost::makeSimObject<simhost::SimService>(std::make_shared<simhost::SimContext>(), "object");
  DataBunch inner;
  inner.setData("first", object);
  inner.setData("second", object);
  DataBunch bunch{{"", 0}, {"visible", true}, {"empty", Zol::ZolAny_24_8()}};
  bunch.setData("long", Zol::makeZolAny(std::string(200, 'v')));
  bunch.setData("label", Zol::makeZolAny(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger \xE6\xA2\x81 \xF0\x9F\x94\xA9")));
  bunch.setData("nested", inner.toZolAny());
  for (int i = 0; i < 40; ++i) {
    const std::string key = "entry " + std::to_string(i);
    if (i % 4 == 0) {
      bunch.setData(key, object);
    } else {
      bunch.setData(key, Zol::ZolAny_24_8(i));
    }
  }

  const Zol::ZolAny_24_8 written = bunch.toZolAny();
  const Zol::ZolAny_24_8 byTheHost = kyr::orla::appfw::cmdParametersToAny(bunch.toCmdParams());
  EXPECT_EQ(written.streamBytes(), byTheHost.streamBytes());
  EXPECT_EQ(written.objectCount(), 12u);
  EXPECT_EQ(written, byTheHost);
  const DataBunch viaAny(written);
  expectSameEntries(viaAny, bunch);
  expectSameEntries(DataBunch(bunch.toCmdParams()), bunch);

  Zol::ZolAny_24_8 carried;
  ZolSmartPointer<Zol::ZolIServiceInterface> back;
  ASSERT_TRUE(viaAny.queryData("entry 0", carried) && Zol::extractZolAny(carried, back));
  EXPECT_TRUE(Zol::isSameObject(back, object)) << "the very object, not a copy";
}

TEST_F(DataBunchTest, ObjectsLiveAsLongAsACopyRefersToThem) {
  DataBunch copy;
  {
    auto object = simhost::makeSimObject<simhost::SimService>(std::make_shared<simhost::SimContext>(), "carried");
    DataBunch bunch;
    bunch.setData("object", object);
    copy = DataBunch(DataBunch(bunch.toZolAny()).toCmdParams());
  }
  ASSERT_EQ(testing_support::liveObjectsNamed("carried"), 1u) << "the copy should keep the object alive";
  copy.clear();
  EXPECT_EQ(testing_support::liveObjectsNamed("carried"), 0u);
}

TEST_F(DataBunchTest, ForeignAnyValuesGiveAnEmptyBunchOrAKernelException) {
  EXPECT_TRUE(DataBunch(Zol::ZolAny_24_8()).empty());
  EXPECT_TRUE(DataBunch(Zol::ZolAny_24_8(true)).empty());
  EXPECT_TRUE(DataBunch(Zol::makeZolAny("not a list")).empty());
  const Zol::ZolAny_24_8 emptyAny = DataBunch().toZolAny();
  EXPECT_EQ(emptyAny, kyr::orla::appfw::cmdParametersToAny(CmdParameters{})) << "an empty list, as the host writes it";
  EXPECT_TRUE(DataBunch(emptyAny).empty());

  const Zol::ZolAny_24_8 valid = DataBunch{{"a", 1}, {"b", Zol::makeZolAny("two")}}.toZolAny();
  const std::string_view bytes = valid.streamBytes();
  for (std::size_t length = 1; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    Zol::ZolAny_24_8 truncated;
    truncated.initializeStream().writeBytes(bytes.data(), length);
    truncated.setData(kyr::orla::appfw::getTC_CmdParameters());
    EXPECT_THROW(DataBunch{truncated}, Zol::ZolSystemException_24);
  }

  // Bytes after the last element would be data dropped silently.
  Zol::ZolAny_24_8 trailing;
  Zol::ZolOutStream_24_8 trailingOut = trailing.initializeStream();
  trailingOut.writeBytes(bytes.data(), bytes.size());
  trailingOut.writeBytes("x", 1);
  trailing.setData(kyr::orla::appfw::getTC_CmdParameters());
  EXPECT_THROW(DataBunch{trailing}, Zol::ZolSystemException_24);

  Zol::ZolAny_24_8 wrongElement;
  Zol::ZolOutStream_24_8 out = wrongElement.initializeStream();
  Zol::marshaller_insert(out, std::uint32_t{1});
  Zol::marshaller_insert(out, Zol::getTC_Zol_ZolString_24_8());
  Zol::marshaller_insert(out, "k");
  Zol::marshaller_insert(out, Zol::ZolAny_24_8(1));
  wrongElement.setData(kyr::orla::appfw::getTC_CmdParameters());
  EXPECT_THROW(DataBunch{wrongElement}, Zol::ZolSystemException_24);
}

TEST_F(DataBunchTest, QueriesAndEdits) {
  DataBunch bunch{{"a", 1}};
  for (auto& entry : bunch) entry.second = Zol::ZolAny_24_8(entry.second == Zol::ZolAny_24_8(1));
  EXPECT_EQ(bunch.begin()->second, Zol::ZolAny_24_8(true)) << "values change in place through the iterators";
  Zol::ZolAny_24_8 untouched = Zol::makeZolAny("caller's value");
  const Zol::ZolAny_24_8 before = untouched;
  EXPECT_FALSE(bunch.queryData("missing", untouched));
  EXPECT_EQ(untouched, before) << "an absent key must leave the caller's any as it was";

  bunch.setData("a", 5);
  EXPECT_EQ(intOf(bunch, "a"), 5) << "setData overwrites";
  bunch.remove("missing");
  EXPECT_TRUE(bunch.hasData("a"));
  bunch.remove("a");
  EXPECT_FALSE(bunch.hasData("a"));
  EXPECT_TRUE(bunch.empty());

  DataBunch source{{"x", 1}, {"y", 2}};
  DataBunch target{{"z", 3}};
  target = source;
  EXPECT_EQ(keysOf(target), (std::vector<std::string>{"x", "y"})) << "assignment replaces, it does not merge";
  DataBunch moved{{"old", 0}};
  moved = std::move(source);
  EXPECT_TRUE(source.empty()) << "nothing of the target's goes back";  // NOLINT: moved-from state is specified
  EXPECT_EQ(keysOf(moved), keysOf(target));
}

}  // namespace
