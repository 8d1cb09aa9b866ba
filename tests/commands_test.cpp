// Commands: the command invoker and the entity edit helpers, which run the
// host's commands with their parameters (the parameter bunch itself:
// commands_databunch_test.cpp).
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "WyrdanPluginUtilities/commands/CmdInvoker.h"
#include "WyrdanPluginUtilities/commands/CreateEntityHelper.h"
#include "WyrdanPluginUtilities/commands/DataBunch.h"
#include "WyrdanPluginUtilities/commands/EditEntityHelper.h"
#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"
#include "WyrdanPluginUtilities/entities/EntConvert.h"
#include "WyrdanPluginUtilities/entities/EntityTypeID.h"
#include "kyr/appfw/CmdParameters.h"
#include "kyr/appfw/ServiceCacheAppFrame.h"
#include "support/DataBunchChecks.h"
#include "support/Memory.h"
#include "support/PluginTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using kyr::orla::appfw::CmdOptions;
using kyr::orla::appfw::CmdParameters;
using kyr::orla::appfw::ServiceCacheAppFrame;
using kyr::orla::plugin::wyrdan::CmdInvoker;
using kyr::orla::plugin::wyrdan::CreateEntityHelper;
using kyr::orla::plugin::wyrdan::DataBunch;
using kyr::orla::plugin::wyrdan::EditEntityHelper;
using kyr::orla::plugin::wyrdan::EntConvert;
using kyr::orla::plugin::wyrdan::EntityTypeID;
using kyr::orla::plugin::wyrdan::LocalStr;
using simhost::CallPattern;
using ConstListPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>;
using testing_support::expectSameEntries;

// Plug-in code copy-initialises these from the values they wrap.
static_assert(std::is_convertible_v<CmdParameters, DataBunch>);
static_assert(std::is_convertible_v<Zol::ZolAny_24_8, DataBunch>);
static_assert(std::is_convertible_v<std::string, CreateEntityHelper>);
static_assert(std::is_convertible_v<kyr::orla::appfw::IEntities, EditEntityHelper>);
static_assert(std::is_convertible_v<Zol::PersistenceFW::CAEData::EntityReference, EditEntityHelper>);
static_assert(std::is_convertible_v<Zol::PersistenceFW::CAEData::EntityReferenceSequence, EditEntityHelper>);
static_assert(std::is_convertible_v<ZolSmartPointer<kyr::orla::appfw::IEntityInterface>, EditEntityHelper>);

constexpr const char* kContext = "Test.Plugin";
constexpr const char* kProbe = "Probe";
constexpr const char* kCommand = "kyr.orla.appfw.ICmdCommand";

// A host whose processor knows the recording command kProbe, with default
// options that set flags 2 and 13, so that untouched positions show.
class CmdInvokerTest : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    host.commandProcessor().registerRecordingCommand(kContext, kProbe);
    defaults.flags[2] = true;
    defaults.flags[13] = true;
    host.commandProcessor().setDefaultOptions(kContext, kProbe, defaults);
  }

  ZolSmartPointer<simhost::SimCommand> lastCommand() {
    const auto made = host.commandProcessor().createdCommands();
    return made.empty() ? ZolSmartPointer<simhost::SimCommand>() : made.back();
  }

  CmdOptions defaults;
};

TEST_F(CmdInvokerTest, ConstructorsSetTheirOptionPositions) {
  struct Case {
    const char* name;
    CmdInvoker (*make)();
    std::vector<std::size_t> set;
    std::vector<std::size_t> cleared;
  };
  const Case cases[] = {
      {"defaults", [] { return CmdInvoker(kProbe, kContext); }, {2, 13}, {0, 1, 3, 4}},
      {"(true, false)", [] { return CmdInvoker(kProbe, true, false, kContext); }, {2, 3}, {1, 13}},
      {"(false, true)", [] { return CmdInvoker(kProbe, false, true, kContext); }, {1, 2, 13}, {3}},
      {"(true, true, false)", [] { return CmdInvoker(kProbe, true, true, false, kContext); }, {1, 2, 3}, {13}},
      {"(false, false, true)", [] { return CmdInvoker(kProbe, false, false, true, kContext); }, {2, 13}, {1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CmdInvoker invoker = c.make();
    const CmdOptions options = lastCommand()->options();
    for (std::size_t position : c.set) EXPECT_TRUE(options.flags[position]) << position;
    for (std::size_t position : c.cleared) EXPECT_FALSE(options.flags[position]) << position;
  }

  CmdInvoker invoker(kProbe, kContext);
  ASSERT_TRUE(invoker.invokeSync(DataBunch{{"k", 1}}).isOk());
  const CmdOptions synced = lastCommand()->options();
  EXPECT_TRUE(synced.flags[0] && synced.flags[4] && synced.flags[2] && synced.flags[13]);
  EXPECT_EQ(lastCommand()->executions(), 1);
}

TEST_F(CmdInvokerTest, WithoutACommandEveryOperationFailsQuietly) {
  auto expectNotExist = [](const Zol::ZolResult_24_8& result) {
    EXPECT_EQ(result.getCode(), Zol::ZolResult_24_8::kFailure);
    ASSERT_EQ(result.getParamCount(), 1u);
    EXPECT_EQ(result.getParam(0), "Command not exist.");
  };
  CmdInvoker unknown("NoSuchCommand", kContext);
  CmdInvoker none;
  for (CmdInvoker* invoker : {&none, &unknown}) {
    expectNotExist(invoker->invoke(CmdParameters{{"k", 1}}));
    expectNotExist(invoker->invoke(DataBunch{{"k", 1}}));
    expectNotExist(invoker->invokeSync(DataBunch{{"k", 1}}));
    const Zol::ZolResult_24_8 async = invoker->invokeAsync(DataBunch{{"k", 1}});
    EXPECT_EQ(async.getCode(), Zol::ZolResult_24_8::kFailure);
    EXPECT_FALSE(async.hasData());
    EXPECT_TRUE(invoker->getOutputParams().empty());
    EXPECT_TRUE(invoker->getReturnValue().holdsNothing());
    EXPECT_FALSE(invoker->getURCommand());
  }
  EXPECT_EQ(host.journal().count(kCommand), 0u) << "no command was there to call";
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.ZolIGuiExecutive"), 0u);
}

TEST_F(CmdInvokerTest, OnlyTheTwoFlagConstructorAbsorbsUserExceptions) {
  const char* processor = "kyr.orla.appfw.ICmdProcessor";
  host.faults().inject(processor, "createCommand", simhost::Fault::userException("refused"));
  CmdInvoker absorbed(kProbe, true, false, kContext);
  EXPECT_EQ(absorbed.invoke(DataBunch()).getCode(), Zol::ZolResult_24_8::kFailure);
  EXPECT_THROW(CmdInvoker(kProbe, kContext), Zol::ZolUserException_24);
  EXPECT_THROW(CmdInvoker(kProbe, true, false, false, kContext), Zol::ZolUserException_24);

  host.faults().clear();
  host.faults().inject(processor, "getDefaultOptions", simhost::Fault::userException("no options"));
  CmdInvoker afterCreation(kProbe, false, false, kContext);
  EXPECT_EQ(afterCreation.invoke(DataBunch()).getCode(), Zol::ZolResult_24_8::kFailure)
      << "a command made before the exception must not be kept";

  host.faults().clear();
  host.faults().inject(processor, "createCommand", simhost::Fault::systemException("broken"));
  EXPECT_THROW(CmdInvoker(kProbe, true, false, kContext), Zol::ZolSystemException_24);
}

TEST_F(CmdInvokerTest, InvokeRunsTheCommandAndCopiesShareIt) {
  CmdInvoker invoker(kProbe, kContext);
  const DataBunch params{{"count", 2}, {"label", Zol::makeZolAny("x")}};
  ASSERT_TRUE(invoker.invoke(params).isOk());
  auto command = lastCommand();
  EXPECT_EQ(command->lastParameters(), params.toCmdParams());
  expectSameEntries(invoker.getOutputParams(), params);
  std::int32_t returned = 0;
  EXPECT_TRUE(Zol::extractZolAny(invoker.getReturnValue(), returned));
  EXPECT_EQ(returned, 2);

  CmdInvoker copy = invoker;
  copy.invoke(CmdParameters{});
  EXPECT_EQ(command->executions(), 2) << "a copy acts on the same command";
  EXPECT_TRUE(invoker.getOutputParams().empty()) << "both read the one command's state";

  const std::uint32_t held = command->referenceCount();
  copy = CmdInvoker();
  EXPECT_EQ(command->referenceCount(), held - 1) << "assignment released the old command";
}

TEST_F(CmdInvokerTest, InvokeAsyncPostsTheCommandAndItsParameters) {
  Zol::ZolAny_24_8 posted;
  host.guiExecutive().setHandler("KYR.WyrdanPlugin.WorkThreadCommandRequest", [&](const Zol::ZolAny_24_8& payload) {
    posted = payload;
    return Zol::makeZolAny("ignored answer");
  });
  CmdInvoker invoker(kProbe, kContext);
  ASSERT_TRUE(invoker.invokeAsync(DataBunch{{"only", 7}}).isOk());

  const DataBunch payload(posted);
  Zol::ZolAny_24_8 command;
  ASSERT_TRUE(payload.queryData("command", command));
  ZolSmartPointer<kyr::orla::appfw::ICmdCommandInterface> object;
  ASSERT_TRUE(Zol::extractZolAny(command, object));
  EXPECT_TRUE(Zol::isSameObject(object, lastCommand())) << "the invoker's own command";
  Zol::ZolAny_24_8 param;
  ASSERT_TRUE(payload.queryData("param", param));
  expectSameEntries(DataBunch(param), DataBunch{{"only", 7}});
  EXPECT_EQ(lastCommand()->executions(), 0) << "posting does not execute";
}

TEST_F(CmdInvokerTest, InvocationRequestCarriesDefaultsAndSharesTheList) {
  host.commandProcessor().setDefaultOptions("KYR.WyrdanPlugin", "ModifyObjects", defaults);
  const CmdParameters list{{"objects", 1}, {"values", 2}};
  const auto request = CmdInvoker::getInvocationRequest("ModifyObjects", list);
  EXPECT_EQ(request.context, "KYR.WyrdanPlugin");
  EXPECT_EQ(request.commandName, "ModifyObjects");
  EXPECT_FALSE(request.service);
  EXPECT_TRUE(request.parameters.sharesStorageWith(list)) << "shared, not copied element by element";
  EXPECT_EQ(request.options, defaults);

  ServiceCacheAppFrame::commandProcessor_.reset();
  const auto bare = CmdInvoker::getInvocationRequest("ModifyObjects", list);
  EXPECT_EQ(bare.options, CmdOptions());
  EXPECT_TRUE(bare.parameters.sharesStorageWith(CmdParameters())) << "the process-wide empty list";
}

// A model of three plates (type 5, ids 1 to 3) edited through the helpers.
class EditEntityHelperTest : public testing_support::PluginTest {
 protected:
  void SetUp() override {
    for (std::uint32_t id = 1; id <= 3; ++id) {
      plates.push_back(host.model().addEntity(5, id, 0, "plate", "Plate"));
      references.push_back(plates.back()->reference());
      entities.push_back(plates.back());
    }
  }

  std::int32_t intAttribute(std::size_t plate, const std::string& name) {
    std::int32_t value = -1;
    Zol::extractZolAny(plates[plate]->attribute(name), value);
    return value;
  }

  // The reference list the last "ModifyObjects" ran with.
  ConstListPtr lastObjects() {
    const auto commands = host.commandProcessor().createdCommands();
    ConstListPtr list;
    if (commands.empty()) return list;
    Zol::ZolAny_24_8 objects;
    if (DataBunch(commands.back()->lastParameters()).queryData("objects", objects)) {
      Zol::extractZolAny(objects, list);
    }
    return list;
  }

  std::vector<ZolSmartPointer<simhost::SimEntity>> plates;
  Zol::PersistenceFW::CAEData::EntityReferenceSequence references;
  kyr::orla::appfw::IEntities entities;
};

TEST_F(EditEntityHelperTest, SetPropertiesChangesEveryEntityThroughModifyObjects) {
  EditEntityHelper helper(entities);
  helper.setProperties(DataBunch{{"thickness", 4}, {"material", Zol::makeZolAny("steel")}});
  for (std::size_t plate = 0; plate < plates.size(); ++plate) EXPECT_EQ(intAttribute(plate, "thickness"), 4) << plate;
  EXPECT_EQ(host.journal().count(CallPattern::of<kyr::orla::appfw::ICmdCommandInterface>("execute")), 1u)
      << "one command for every entity";

  // Flag 13 is set by default here, so a missing clear shows.
  CmdOptions defaults;
  defaults.flags[13] = true;
  defaults.flags[1] = true;
  host.commandProcessor().setDefaultOptions("KYR.CorePlugin", "ModifyObjects", defaults);
  EditEntityHelper(references).setProperties(DataBunch{{"thickness", 6}}, true, false);
  EXPECT_EQ(intAttribute(2, "thickness"), 6);
  const CmdOptions options = host.commandProcessor().createdCommands().back()->options();
  EXPECT_TRUE(options.flags[3]);
  EXPECT_FALSE(options.flags[1]);
  EXPECT_FALSE(options.flags[13]) << "the first flag set must clear flag 13";
}

// setAttribute changes only the first entity, and stops when that one is gone.
TEST_F(EditEntityHelperTest, SetAttributeChangesOnlyTheFirstEntity) {
  EditEntityHelper helper(references);
  helper.setAttribute("color", 5);
  EXPECT_EQ(intAttribute(0, "color"), 5);
  EXPECT_TRUE(plates[1]->attribute("color").holdsNothing());

  EditEntityHelper single(plates[2]->reference());
  single.setAttribute("color", 9);
  EXPECT_EQ(intAttribute(2, "color"), 9);

  host.model().removeEntity(5, 1, 0);
  host.journal().clear();
  helper.setAttribute("color", 5);
  EXPECT_EQ(host.journal().count(CallPattern::of<kyr::orla::appfw::IRootManagerInterface>("getEntity")), 1u)
      << "only the first reference is resolved";
  EXPECT_EQ(host.journal().count(CallPattern::of<kyr::orla::appfw::IEntityInterface>("setAttribute")), 0u);
  EXPECT_TRUE(plates[1]->attribute("color").holdsNothing()) << "the next entity must not stand in";
}

TEST_F(EditEntityHelperTest, MovesTakeTheListAndCopiesShareIt) {
  EditEntityHelper original(entities);
  EditEntityHelper source(original);
  EditEntityHelper moved(std::move(source));
  source.setProperties(DataBunch{{"mark", 1}});  // NOLINT: the moved-from helper holds no list
  EXPECT_FALSE(lastObjects()) << "a moved-from helper sends no list";
  EXPECT_TRUE(plates[0]->attribute("mark").holdsNothing());

  moved.setProperties(DataBunch{{"mark", 2}});
  const ConstListPtr all = lastObjects();
  EXPECT_EQ(intAttribute(2, "mark"), 2);
  original.setProperties(DataBunch{});
  EXPECT_TRUE(Zol::isSameObject(lastObjects(), all)) << "a copy acts on the same host list";

  EditEntityHelper other(plates[0]->reference());
  other.setProperties(DataBunch{});
  const ConstListPtr first = lastObjects();
  EditEntityHelper assigned(plates[1]->reference());
  assigned = other;
  assigned.setProperties(DataBunch{});
  EXPECT_TRUE(Zol::isSameObject(lastObjects(), first)) << "copy assignment shares the other's list";
  other = std::move(moved);
  other.setProperties(DataBunch{});
  EXPECT_TRUE(Zol::isSameObject(lastObjects(), all)) << "move assignment takes the other's list";
  moved.setProperties(DataBunch{});  // NOLINT: move assignment exchanges the lists
  EXPECT_TRUE(Zol::isSameObject(lastObjects(), first));
}

TEST_F(EditEntityHelperTest, NoEntitiesStillSendModifyObjectsWithAnEmptyList) {
  EditEntityHelper helper{kyr::orla::appfw::IEntities()};
  host.journal().clear();
  helper.setAttribute("color", 1);
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.IRootManager"), 0u);
  EXPECT_EQ(host.journal().count("kyr.orla.appfw.IEntity"), 0u);

  helper.setProperties(DataBunch{{"color", 2}});
  const auto commands = host.commandProcessor().createdCommands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0]->executions(), 1);
  const ConstListPtr list = lastObjects();
  ASSERT_TRUE(list);
  std::uint32_t count = 99;
  list->getCount(count);
  EXPECT_EQ(count, 0u);
}

// Assigning an object to itself, by copy or by move, leaves it as it was.
TEST_F(EditEntityHelperTest, SelfAssignmentChangesNothing) {
  host.commandProcessor().registerRecordingCommand(kContext, kProbe);
  struct Case {
    const char* name;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"DataBunch",
       [] {
         DataBunch bunch{{"a", 1}, {"b", Zol::makeZolAny("two")}};
         const DataBunch original = bunch;
         bunch = testing_support::itself(bunch);
         expectSameEntries(bunch, original);
         bunch = std::move(testing_support::itself(bunch));
         expectSameEntries(bunch, original);
       }},
      {"CmdInvoker",
       [this] {
         CmdInvoker invoker(kProbe, kContext);
         invoker = testing_support::itself(invoker);
         EXPECT_TRUE(invoker.invoke(DataBunch()).isOk());
         invoker = std::move(testing_support::itself(invoker));
         EXPECT_TRUE(invoker.invoke(DataBunch()).isOk());
         EXPECT_EQ(host.commandProcessor().createdCommands().back()->executions(), 2);
       }},
      {"EditEntityHelper",
       [this] {
         EditEntityHelper helper(entities);
         helper.setProperties(DataBunch{});
         const ConstListPtr list = lastObjects();
         helper = testing_support::itself(helper);
         helper.setProperties(DataBunch{});
         EXPECT_TRUE(Zol::isSameObject(lastObjects(), list));
         helper = std::move(testing_support::itself(helper));
         helper.setProperties(DataBunch{});
         EXPECT_TRUE(Zol::isSameObject(lastObjects(), list));
       }},
      {"CreateEntityHelper and EntConvert (nothing to read back: all they took is given back)",
       [] {
         // A name too long for the allocator to keep for reuse: a leak of it
         // shows past the small blocks the allocator keeps.
         const std::size_t before = testing_support::heapInUse();
         {
           CreateEntityHelper created(std::string(4096, 'n'));
           created = testing_support::itself(created);
           created = std::move(testing_support::itself(created));
           CreateEntityHelper copy = created;
           CreateEntityHelper moved(std::move(copy));
           EntConvert convert;
           convert = testing_support::itself(convert);
           EntConvert copied(convert);
         }
         EXPECT_LE(testing_support::heapGrowthSince(before), 1024);
       }},
      {"LocalStr and EntityTypeID (texts past the short-string buffer)",
       [] {
         const std::string longText(40, 't');
         LocalStr text("NO_SUCH_KEY", longText);
         text = testing_support::itself(text);
         text = std::move(testing_support::itself(text));
         EXPECT_EQ(text.getStr(), longText);
         EntityTypeID type(icu::UnicodeString::fromUTF8(longText));
         type = testing_support::itself(type);
         type = std::move(testing_support::itself(type));
         EXPECT_EQ(type.typeName(), icu::UnicodeString::fromUTF8(longText));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.check();
  }
}

}  // namespace
