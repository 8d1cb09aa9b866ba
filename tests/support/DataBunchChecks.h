// Checks on parameter bunches that the command tests and the bunch's own
// tests share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/DataBunch.h"

namespace testing_support {

/// The keys of `bunch`, in iteration order.
inline std::vector<std::string> keysOf(const kyr::orla::plugin::wyrdan::DataBunch& bunch) {
  std::vector<std::string> keys;
  for (const auto& entry : bunch) keys.push_back(entry.first);
  return keys;
}

/// `actual` has the keys of `expected`, in order, each with an equal value of
/// the same type.
inline void expectSameEntries(const kyr::orla::plugin::wyrdan::DataBunch& actual,
                              const kyr::orla::plugin::wyrdan::DataBunch& expected) {
  ASSERT_EQ(keysOf(actual), keysOf(expected));
  auto a = actual.begin();
  for (auto e = expected.begin(); e != expected.end(); ++e, ++a) {
    EXPECT_EQ(a->second.getTypeCode(), e->second.getTypeCode()) << e->first;
    EXPECT_EQ(a->second, e->second) << e->first;
  }
}

/// The 32-bit integer `value` holds; -1 when it holds none.
inline std::int32_t intOf(const Zol::ZolAny_24_8& value) {
  std::int32_t number = -1;
  Zol::extractZolAny(value, number);
  return number;
}

/// The 32-bit integer under `key`; the test fails when there is none.
inline std::int32_t intOf(const kyr::orla::plugin::wyrdan::DataBunch& bunch, const std::string& key) {
  Zol::ZolAny_24_8 value;
  std::int32_t number = -1;
  EXPECT_TRUE(bunch.queryData(key, value)) << key;
  EXPECT_TRUE(Zol::extractZolAny(value, number)) << key;
  return number;
}

}  // namespace testing_support
