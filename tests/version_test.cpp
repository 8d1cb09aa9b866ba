// The version a plug-in compiles against (the macros) and the version of the
// library it runs with, both written from the project's version.
#include "WyrdanPluginUtilities/Version.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using kyr::orla::plugin::wyrdan::Version;

// The encoding orders versions across digit boundaries, so that preprocessor
// comparisons hold.
static_assert(WYRDAN_VERSION_ENCODE(0, 9, 999) < WYRDAN_VERSION_ENCODE(0, 10, 0));
static_assert(WYRDAN_VERSION_ENCODE(0, 999, 999) < WYRDAN_VERSION_ENCODE(1, 0, 0));
static_assert(WYRDAN_VERSION_ENCODE(1, 2, 3) != WYRDAN_VERSION_ENCODE(1, 3, 2));

TEST(Version, HeadersAndLibraryCarryTheProjectVersion) {
  EXPECT_STREQ(WYRDAN_VERSION_STRING, WYRDAN_PROJECT_VERSION);
  EXPECT_STREQ(Version::string(), WYRDAN_PROJECT_VERSION) << "the library reports the version it was built as";
  const std::string joined = std::to_string(WYRDAN_VERSION_MAJOR) + "." + std::to_string(WYRDAN_VERSION_MINOR) + "." +
                             std::to_string(WYRDAN_VERSION_PATCH);
  EXPECT_EQ(joined, WYRDAN_PROJECT_VERSION) << "the number macros agree with the string";
  EXPECT_EQ(Version::number(), WYRDAN_VERSION_ENCODE(WYRDAN_VERSION_MAJOR, WYRDAN_VERSION_MINOR, WYRDAN_VERSION_PATCH));
  EXPECT_EQ(Version::number(), WYRDAN_VERSION);
}

// isCompatible applies the rule to the library's own version; the rule, on
// both sides of 1.0: before it each minor version is an interface of its
// own, from it on a minor version only adds.
TEST(Version, CompatibleWithHeadersOfTheSameInterface) {
  EXPECT_TRUE(Version::isCompatible()) << "the headers this test was compiled against";
  EXPECT_TRUE(Version::isCompatible(WYRDAN_VERSION_ENCODE(WYRDAN_VERSION_MAJOR, WYRDAN_VERSION_MINOR, 999)));
  EXPECT_FALSE(Version::isCompatible(WYRDAN_VERSION_ENCODE(WYRDAN_VERSION_MAJOR, WYRDAN_VERSION_MINOR + 1, 0)));

  using kyr::orla::plugin::wyrdan::detail::compatibleVersions;
  const struct {
    int library;
    int headers;
    bool compatible;
  } cases[] = {
      {WYRDAN_VERSION_ENCODE(0, 2, 3), WYRDAN_VERSION_ENCODE(0, 2, 0), true},
      {WYRDAN_VERSION_ENCODE(0, 2, 0), WYRDAN_VERSION_ENCODE(0, 1, 0), false},
      {WYRDAN_VERSION_ENCODE(0, 1, 0), WYRDAN_VERSION_ENCODE(0, 2, 0), false},
      {WYRDAN_VERSION_ENCODE(1, 0, 0), WYRDAN_VERSION_ENCODE(0, 9, 0), false},
      {WYRDAN_VERSION_ENCODE(1, 3, 0), WYRDAN_VERSION_ENCODE(1, 0, 0), true},
      {WYRDAN_VERSION_ENCODE(1, 3, 0), WYRDAN_VERSION_ENCODE(1, 4, 0), false},
      {WYRDAN_VERSION_ENCODE(2, 0, 0), WYRDAN_VERSION_ENCODE(1, 9, 0), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.library) + " running headers " + std::to_string(c.headers));
    EXPECT_EQ(compatibleVersions(c.library, c.headers), c.compatible);
  }
}

// The loader's name for the library changes when its interface may break,
// as isCompatible says: with each minor version before 1.0, with each major
// version after.
TEST(Version, SonameCarriesTheVersionsThatMakeAnInterface) {
#if defined(_WIN32)
  GTEST_SKIP() << "a DLL has no SONAME, and its name carries no version";
#endif
  const std::string expected = WYRDAN_VERSION_MAJOR == 0
                                   ? "libWyrdanPluginUtilities.so.0." + std::to_string(WYRDAN_VERSION_MINOR)
                                   : "libWyrdanPluginUtilities.so." + std::to_string(WYRDAN_VERSION_MAJOR);
  EXPECT_EQ(WYRDAN_LIBRARY_SONAME, expected);
}

}  // namespace
