// Commands and their payloads: the parameter bunch.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "commands/DataBunch.h"
#include "kyr/appfw/CmdParameters.h"
#include "simhost/ObjectAccounting.h"
#include "simhost/SimObject.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::CmdParameter;
using kyr::orla::appfw::CmdParameters;
using kyr::orla::plugin::wyrdan::DataBunch;

std::vector<std::string> keysOf(const DataBunch& bunch) {
  std::vector<std::string> keys;
  for (const auto& entry : bunch) keys.push_back(entry.first);
  return keys;
}

std::vector<std::string> namesOf(const CmdParameters& params) {
  std::vector<std::string> names;
  for (const CmdParameter& param : params) names.push_back(param.name);
  return names;
}

void expectSameEntries(const DataBunch& actual, const DataBunch& expected) {
  ASSERT_EQ(keysOf(actual), keysOf(expected));
  auto a = actual.begin();
  for (auto e = expected.begin(); e != expected.end(); ++e, ++a) {
    EXPECT_EQ(a->second.getTypeCode(), e->second.getTypeCode()) << e->first;
    EXPECT_EQ(a->second, e->second) << e->first;
  }
}

std::int32_t intOf(const DataBunch& bunch, const std::string& key) {
  Zol::ZolAny_24_8 value;
  std::int32_t number = -1;
  EXPECT_TRUE(bunch.queryData(key, value)) << key;
  EXPECT_TRUE(Zol::extractZolAny(value, number)) << key;
  return number;
}

TEST(DataBunch, KeysIterateAndConvertInBytewiseOrder) {
  const DataBunch bunch{{"values", 1}, {"param", 2},  {"objects", 3}, {"command", 4}, {"ab", 5},
                        {"a", 6},      {"b", 7},      {"Z", 8},       {"B", 9},       {"\xC3\xA9t\xC3\xA9", 10}};
  const std::vector<std::string> expected = {"B", "Z", "a", "ab", "b", "command", "objects", "param", "values",
                                             "\xC3\xA9t\xC3\xA9"};
  EXPECT_EQ(keysOf(bunch), expected);
  EXPECT_EQ(namesOf(bunch.toCmdParams()), expected);
  EXPECT_EQ(keysOf(DataBunch(bunch.toZolAny())), expected);
}

TEST(DataBunch, RepeatedKeysKeepTheLastValueInEveryConstructor) {
  const DataBunch fromItems{{"k", 1}, {"other", 0}, {"k", 2}};
  EXPECT_EQ(intOf(fromItems, "k"), 2);

  const CmdParameters list{{"k", 1}, {"other", 0}, {"k", 2}};
  const DataBunch fromList(list);
  EXPECT_EQ(intOf(fromList, "k"), 2);

  const DataBunch fromAny(kyr::orla::appfw::cmdParametersToAny(list));
  EXPECT_EQ(intOf(fromAny, "k"), 2);
  EXPECT_EQ(keysOf(fromAny), (std::vector<std::string>{"k", "other"}));
}

TEST(DataBunch, RoundTripsKeepEveryValue) {
  auto object = simhost::makeSimObject<simhost::SimService>(std::make_shared<simhost::SimContext>(), "object");
  const DataBunch inner{{"depth", 2}};
  DataBunch bunch{{"count", 3}, {"visible", true}, {"empty", Zol::ZolAny_24_8()}};
  bunch.setData("name", Zol::makeZolAny("plate 1"));
  bunch.setData("label", Zol::makeZolAny(icu::UnicodeString::fromUTF8("Tr\xC3\xA4ger \xE6\xA2\x81 \xF0\x9F\x94\xA9")));
  bunch.setData("object", object);
  bunch.setData("nested", inner.toZolAny());

  const DataBunch viaAny(bunch.toZolAny());
  expectSameEntries(viaAny, bunch);
  const DataBunch viaList(bunch.toCmdParams());
  expectSameEntries(viaList, bunch);
  EXPECT_EQ(kyr::orla::appfw::cmdParametersFromAny(bunch.toZolAny()), bunch.toCmdParams())
      << "the host reads the list the bunch wrote";

  Zol::ZolAny_24_8 carried;
  ASSERT_TRUE(viaAny.queryData("object", carried));
  EXPECT_EQ(carried.getTypeCode(), Zol::interfaceTypeCode<Zol::ZolIServiceInterface>());
  ZolSmartPointer<Zol::ZolIServiceInterface> back;
  ASSERT_TRUE(Zol::extractZolAny(carried, back));
  EXPECT_TRUE(Zol::isSameObject(back, object)) << "the very object, not a copy";
  Zol::ZolAny_24_8 nested;
  ASSERT_TRUE(viaAny.queryData("nested", nested));
  EXPECT_EQ(intOf(DataBunch(nested), "depth"), 2);
}

TEST(DataBunch, ObjectsLiveAsLongAsACopyRefersToThem) {
  DataBunch copy;
  {
    auto object = simhost::makeSimObject<simhost::SimService>(std::make_shared<simhost::SimContext>(), "object");
    DataBunch bunch;
    bunch.setData("object", object);
    copy = DataBunch(DataBunch(bunch.toZolAny()).toCmdParams());
  }
  ASSERT_EQ(simhost::ObjectAccounting::liveCount(), 1u) << "the copy should keep the object alive";
  {
    Zol::ZolAny_24_8 carried;
    ASSERT_TRUE(copy.queryData("object", carried));
    Zol::ZolIService back;
    ASSERT_TRUE(Zol::extractZolAny(carried, back));
    EXPECT_EQ(back->getServiceName(), "object");
  }
  copy.clear();
  EXPECT_EQ(simhost::ObjectAccounting::liveCount(), 0u) << simhost::ObjectAccounting::report();
}

TEST(DataBunch, ForeignAnyValuesGiveAnEmptyBunchOrAKernelException) {
  EXPECT_TRUE(DataBunch(Zol::ZolAny_24_8()).empty());
  EXPECT_TRUE(DataBunch(Zol::ZolAny_24_8(true)).empty());
  EXPECT_TRUE(DataBunch(Zol::makeZolAny("not a list")).empty());
  Zol::ZolAny_24_8 element;
  Zol::ZolOutStream_24_8 elementOut = element.initializeStream();
  kyr::orla::appfw::marshalCmdParameter(elementOut, "k", 1);
  element.setData(kyr::orla::appfw::getTC_CmdParameter());
  EXPECT_TRUE(DataBunch(element).empty()) << "an element is not a list";

  const DataBunch empty;
  const Zol::ZolAny_24_8 emptyAny = empty.toZolAny();
  EXPECT_EQ(emptyAny.getTypeCode(), kyr::orla::appfw::getTC_CmdParameters());
  std::uint32_t count = 99;
  Zol::ZolInStream_24_8 in = emptyAny.openStream();
  Zol::marshaller_extract(in, count);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(in.atEnd());
  EXPECT_TRUE(DataBunch(emptyAny).empty());

  const Zol::ZolAny_24_8 valid = DataBunch{{"a", 1}, {"b", Zol::makeZolAny("two")}}.toZolAny();
  std::string bytes;
  {
    Zol::ZolInStream_24_8 all = valid.openStream();
    bytes = std::string(all.readView(all.remaining()));
  }
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    Zol::ZolAny_24_8 truncated;
    truncated.initializeStream().writeBytes(bytes.data(), length);
    truncated.setData(kyr::orla::appfw::getTC_CmdParameters());
    EXPECT_THROW(DataBunch{truncated}, Zol::ZolSystemException_24);
  }

  Zol::ZolAny_24_8 wrongElement;
  Zol::ZolOutStream_24_8 out = wrongElement.initializeStream();
  Zol::marshaller_insert(out, std::uint32_t{1});
  Zol::marshaller_insert(out, Zol::getTC_Zol_ZolString_24_8());
  Zol::marshaller_insert(out, "k");
  Zol::marshaller_insert(out, Zol::ZolAny_24_8(1));
  wrongElement.setData(kyr::orla::appfw::getTC_CmdParameters());
  EXPECT_THROW(DataBunch{wrongElement}, Zol::ZolSystemException_24);
}

TEST(DataBunch, QueriesAndEdits) {
  DataBunch bunch{{"a", 1}};
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
  DataBunch moved = std::move(source);
  EXPECT_TRUE(source.empty());  // NOLINT: moved-from state is specified
  EXPECT_EQ(keysOf(moved), keysOf(target));
}

}  // namespace
