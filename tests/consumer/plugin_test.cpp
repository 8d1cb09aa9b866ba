// A plug-in author's GoogleTest test built against the installed package
// only: the installed fixture and a journal matcher on the installed
// simulated host, and a fixture's failure reaching this program's own
// GoogleTest. It has no main: gMock's gmock_main brings it, as the README
// links it.
#include <WyrdanPluginUtilities/services/ServiceHelper.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <simhost/testing/JournalMatchers.h>
#include <simhost/testing/PluginTest.h>

namespace {

using kyr::orla::plugin::wyrdan::ServiceHelper;
using simhost::CallPattern;

class ConsumerTest : public simhost::testing::PluginTest {};

TEST_F(ConsumerTest, LooksTheGuiExecutiveUpOnce) {
  EXPECT_TRUE(ServiceHelper::getGuiExeutive());
  EXPECT_TRUE(ServiceHelper::getGuiExeutive());
  EXPECT_THAT(host.journal(),
              simhost::testing::CallCount(CallPattern::of<Zol::Framework::ZolIServiceProviderInterface>("getService")
                                              .with("kyr.orla.appfw.GuiExecutive", ""),
                                          1));
}

TEST(ConsumerFixture, ReportsAnUnexpectedHostFailureToThisProgram) {
  using simhost::testing::HostTest;
  EXPECT_THAT(simhost::testing::failuresOf<HostTest>(
                  [](HostTest& test) { test.host.failures().record("status bar", "payload of the wrong type"); }),
              ::testing::ElementsAre(::testing::HasSubstr("status bar: payload of the wrong type")));
}

}  // namespace
