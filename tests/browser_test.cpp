// The model browser's announcements, as the simulated browser decoded them
// (its own decoder), and the tab switch.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/entities/BrowserHelper.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/PluginTest.h"

namespace {

using kyr::orla::appfw::IEntities;
using kyr::orla::plugin::wyrdan::BrowserHelper;
using simhost::CallPattern;
using EntityPtr = ZolSmartPointer<kyr::orla::appfw::IEntityInterface>;

class BrowserTest : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    plate = host.model().addEntity(5, 1, 0, u"Plate 1", u"Plate");
    rib = host.model().addEntity(5, 2, 0, u"Rib", u"Plate");
    study = host.model().addEntity(8, 1, 0, u"Study", u"Simulation.Wyrdan.TessalynStudy");
  }

  // What the tab was last told, as text; "" when it was told nothing.
  static std::string last(const simhost::SimModelBrowserTab& tab) {
    const auto told = tab.announcements();
    return told.empty() ? std::string() : told.back().text();
  }
  std::size_t told() {
    std::size_t count = 0;
    for (const auto& tab : host.modelBrowser().tabs()) count += tab->announcements().size();
    return count;
  }
  simhost::SimModelBrowserTab& modelTab() { return host.modelBrowser().entityTab(); }
  simhost::SimModelBrowserTab& studyTab() { return host.modelBrowser().studyTab(); }

  ZolSmartPointer<simhost::SimEntity> plate;
  ZolSmartPointer<simhost::SimEntity> rib;
  ZolSmartPointer<simhost::SimEntity> study;
};

// Each operation's event, tab and payload, as the simulated browser decoded them.
TEST_F(BrowserTest, EachAnnouncementReachesItsTabAsItsRecord) {
  BrowserHelper browser;
  const IEntities ribPlate{rib, plate};
  const IEntities plateRib{plate, rib};
  struct Case {
    const char* name;
    std::function<void()> announce;
    simhost::SimModelBrowserTab* tab;
    std::string expected;
  };
  const Case cases[] = {
      {"addNode", [&] { browser.addNode(plate); }, &modelTab(), "node added (5, 1, 0)"},
      {"addNodes", [&] { browser.addNodes(ribPlate); }, &modelTab(), "nodes added [(5, 2, 0), (5, 1, 0)] []"},
      {"insertNode", [&] { browser.insertNode(rib); }, &modelTab(), "node inserted [(5, 2, 0)] [Insert = nothing]"},
      {"updateNode", [&] { browser.updateNode(plate); }, &modelTab(), "node updated (5, 1, 0)"},
      {"updateNodes", [&] { browser.updateNodes(plateRib); }, &modelTab(),
       "nodes updated [(5, 1, 0), (5, 2, 0)] [] []"},
      {"updateAttribute", [&] { browser.updateAttribute(plate, "thickness", Zol::ZolAny_24_8(4), true); }, &modelTab(),
       "nodes updated [] [thickness = Zol.Int32 4] [(5, 1, 0)]"},
      {"updateNodesAttribute", [&] { browser.updateNodesAttribute(ribPlate, "color", Zol::makeZolAny("red")); },
       &modelTab(), "nodes updated [] [color = Zol.ZolString \"red\"] [(5, 2, 0), (5, 1, 0)]"},
      {"addParts",
       [&] {
         browser.addParts(IEntities{study, plate});
       },
       &modelTab(),
       "nodes added [(8, 1, 0), (5, 1, 0)] [commandName = Zol.ZolString \"CreatePartCommand\", commandContext = "
       "kyr.orla.appfw.CmdContext 0]"},
      {"removeNode", [&] { browser.removeNode(rib); }, &modelTab(), "node removed (5, 2, 0)"},
      {"removeNodes", [&] { browser.removeNodes(plateRib); }, &modelTab(), "nodes removed [(5, 1, 0), (5, 2, 0)] []"},
      {"a study entity", [&] { browser.addNode(study); }, &studyTab(), "node added (8, 1, 0)"},
      {"tab 2", [&] { BrowserHelper(BrowserHelper::MB_AR_ITEMIZATION).updateNode(plate); },
       &host.modelBrowser().domainZeroTab(), "node updated (5, 1, 0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = told();
    c.announce();
    EXPECT_EQ(last(*c.tab), c.expected);
    EXPECT_EQ(told(), before + 1) << "one announcement, in one tab";
  }
  for (const auto& tab : host.modelBrowser().tabs()) EXPECT_TRUE(tab->errors().empty()) << tab->domainName();
  std::int32_t thickness = 0;
  EXPECT_TRUE(Zol::extractZolAny(plate->attribute("thickness"), thickness));
  EXPECT_EQ(thickness, 4) << "updateAttribute set the attribute";
  EXPECT_TRUE(plate->attribute("color").holdsNothing()) << "updateNodesAttribute changes no entity";
}

TEST_F(BrowserTest, TabsFollowTheTypeNameAndNoneAnnouncesNothing) {
  BrowserHelper none(BrowserHelper::MB_NONE);
  EXPECT_EQ(none.getMBTab(EntityPtr(plate)), BrowserHelper::MB_NONE);
  EXPECT_EQ(none.getMBTab(EntityPtr(study)), BrowserHelper::MB_STUDY);
  EXPECT_EQ(none.getMBTab(icu::UnicodeString(u"simulation.wyrdan.tessalynstudy")), BrowserHelper::MB_NONE)
      << "type names compare with letter case";
  EXPECT_EQ(BrowserHelper().getMBTab(icu::UnicodeString(u"Simulation.Wyrdan.TessalynScenario")),
            BrowserHelper::MB_STUDY);
  EXPECT_EQ(BrowserHelper(BrowserHelper::MB_STUDY).getMBTab(EntityPtr()), BrowserHelper::MB_STUDY);

  none.addNode(plate);
  none.updateNodes(IEntities{plate});
  none.removeNodes(IEntities{plate});
  none.insertNode(plate);
  none.updateNodesAttribute(IEntities{plate}, "color", Zol::ZolAny_24_8(1));
  none.updateAttribute(plate, "color", Zol::ZolAny_24_8(1), true);
  EXPECT_EQ(told(), 0u) << "nothing for the tab MB_NONE";
  EXPECT_EQ(plate->attribute("color"), Zol::ZolAny_24_8(1)) << "the attribute is set before the tab is chosen";
  none.addNode(study);
  EXPECT_EQ(last(studyTab()), "node added (8, 1, 0)") << "study entities keep their own tab";

  // An empty entity is still announced in the default tab.
  BrowserHelper().removeNode(EntityPtr());
  EXPECT_EQ(last(modelTab()), "node removed (no entity)");
}

TEST_F(BrowserTest, ParentsChildrenAndTheRootEntity) {
  BrowserHelper browser;
  const EntityPtr root = browser.getRootEntity();
  ASSERT_TRUE(root);
  EXPECT_EQ(simhost::referenceOf(root).first, 1u) << "the model's root assembly";
  EXPECT_FALSE(BrowserHelper(BrowserHelper::MB_STUDY).getRootEntity());

  browser.addNodeToRoot(plate);
  EXPECT_EQ(plate->parent(), simhost::referenceOf(root));
  EXPECT_EQ(last(modelTab()), "node added (5, 1, 0)");

  browser.addNode(plate, EntityPtr());
  EXPECT_FALSE(plate->parent().container) << "an empty parent clears the parent";
  EXPECT_EQ(modelTab().announcements().size(), 2u) << "and the node is still announced";

  browser.reparentNode(plate, rib);
  EXPECT_EQ(plate->parent(), rib->reference());
  EXPECT_EQ(last(modelTab()),
            "nodes updated [] [parent = Zol.PersistenceFW.CAEData.EntityReference (5, 2, 0)] [(5, 1, 0)]")
      << "the payload carries the new parent's reference";
  EXPECT_EQ(plate->attribute("parent").getTypeCode(), Zol::PersistenceFW::CAEData::getTC_EntityReference());

  BrowserHelper::addToViewport(rib);
  EXPECT_EQ(last(modelTab()), "node added (5, 2, 0)");

  host.model().setRootAssembly({});
  EXPECT_FALSE(browser.getRootEntity());
  kyr::orla::appfw::ServiceCacheAppFrame::PFW_.reset();
  EXPECT_FALSE(browser.getRootEntity()) << "no current model";
}

TEST_F(BrowserTest, ShowTabSwitchesTheVisibleView) {
  BrowserHelper browser;
  const std::pair<BrowserHelper::MBTab, std::string> views[] = {
      {BrowserHelper::MB_STUDY, "ModelingPlugin.StudyView"},
      {BrowserHelper::MB_AR_ITEMIZATION, "ModelingPlugin.PivotDataContext.AnalysisReadiness.Itemization"},
      {BrowserHelper::MB_AR2_OFFENDING_OBJECT, "ModelingPlugin.PivotDataContext.AR2.OffendingObject"},
      {BrowserHelper::MB_MODEL, "ShellPlugin.ModelView"},
  };
  for (const auto& [tab, view] : views) {
    browser.showTab(tab);
    EXPECT_EQ(host.modelBrowser().visibleView(), view) << "tab " << tab;
    EXPECT_EQ(host.modelBrowser().viewSwitches().back().from, "") << "the helper names no view to leave";
  }

  host.journal().clear();
  browser.showTab(BrowserHelper::MB_NONE);
  EXPECT_EQ(host.journal().size(), 0u) << "no command for MB_NONE";
  EXPECT_EQ(host.modelBrowser().viewSwitches().size(), std::size(views));
}

TEST_F(BrowserTest, TheTablesAreFilledOncePerProcess) {
  BrowserHelper first;
  host.journal().clear();
  BrowserHelper second(BrowserHelper::MB_STUDY);
  EXPECT_EQ(host.journal().count(CallPattern::of<Zol::Framework::ZolIEventManagerInterface>("lookUpDomainId")), 0u);
  second = first;
  EXPECT_EQ(second.getMBTab(EntityPtr()), BrowserHelper::MB_MODEL) << "assignment copies the default tab";
}

}  // namespace
