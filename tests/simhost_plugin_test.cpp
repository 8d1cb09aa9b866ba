// The plug-in's texts as the simulated host keeps and formats them. (The
// library's message and logging tests read the status bar and the kernel
// logger end to end.)
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"

namespace {

using simhost::CallPattern;
using testing_support::SimHostTest;

TEST_F(SimHostTest, PluginTextsFillTheirPlacesAndFailForWhatTheyLack) {
  using Table = kyr::orla::appfw::ZolITextTranslationTableInterface;
  simhost::SimTextTranslationTable& texts = host.pluginTexts();
  texts.setText(3, u"{0} plates, {1} cells, {2}, {3}, {4}, {5}, {6}");
  texts.setText("BROKEN", u"{0 is not closed");
  const ZolSequence<Zol::ZolAny_24_8> arguments{Zol::ZolAny_24_8(12),
                                                Zol::makeZolAny(std::int64_t{3000000000}),
                                                Zol::makeZolAny(2.5),
                                                Zol::ZolAny_24_8(true),
                                                Zol::makeZolAny("Tr\xC3\xA4ger"),
                                                Zol::makeZolAny(icu::UnicodeString(u"Gau\u00df")),
                                                Zol::makeZolAny(std::uint64_t{18446744073709551615u})};
  icu::UnicodeString text;
  ASSERT_TRUE(texts.getMessage(3, arguments, text).isOk());
  EXPECT_EQ(text, u"12 plates, 3,000,000,000 cells, 2.5, true, Tr\u00e4ger, Gau\u00df, 18,446,744,073,709,551,615");
  EXPECT_EQ(host.journal().count(CallPattern::of<Table>("getMessage").with(3, arguments)), 1u);

  icu::UnicodeString untouched(u"untouched");
  EXPECT_FALSE(texts.getMessage("BROKEN", {}, untouched).isOk()) << "a pattern ICU cannot read";
  texts.removeText(3);
  EXPECT_FALSE(texts.getMessage(3, arguments, untouched).isOk());
  EXPECT_EQ(untouched, u"untouched");
  ASSERT_TRUE(texts.getMessage("UITEXT_OK", {}, text).isOk());
  EXPECT_EQ(text, u"OK") << "the host starts with the standard button and caption texts";
}

}  // namespace
