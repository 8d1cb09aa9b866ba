// What the simulated host refuses to take from the plug-in side: a payload
// that does not decode, a command parameter of the wrong type, an entity list
// with a gap. Each is a host failure a test can read, and changes nothing.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/CmdParameters.h"
#include "kyr/appfw/ModelPersistenceRecords.h"
#include "support/SimHostTest.h"

namespace {

using kyr::orla::appfw::CmdParameters;
using kyr::orla::appfw::ICmdCommandInterface;
using Zol::PersistenceFW::CAEData::EntityReference;
using ConstListPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>;
using ListPtr = ZolSmartPointer<Zol::PersistenceFW::CAEData::IEntityReferenceListInterface>;

// An any typed as `typeCode` whose stream holds `value` and then one byte
// more: a value that does not read whole.
template <class T>
Zol::ZolAny_24_8 withByteLeftOver(const T& value, const Zol::ZolTypeCode_24_8& typeCode) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  Zol::marshaller_insert(out, value);
  const std::uint8_t extra = 0;
  out.writeBytes(&extra, 1);
  any.setData(typeCode);
  return any;
}

class HostRefusalTest : public testing_support::HostTest {
 protected:
  std::vector<std::string> takeFailures() { return testing_support::takeFailures(host); }

  ZolSmartPointer<ICmdCommandInterface> command(const char* context, const char* name) {
    ZolSmartPointer<ICmdCommandInterface> made;
    EXPECT_TRUE(host.commandProcessor().createCommand({context, name, {}}, made).isOk());
    return made;
  }

  const ZolSmartPointer<simhost::SimEntity> plate = host.model().addEntity(5, 1, 0, "plate", "Plate");
  const ZolSmartPointer<simhost::SimEntityReferenceList> list = simhost::makeSimObject<simhost::SimEntityReferenceList>(
      host.context(), std::vector<EntityReference>{plate->reference()});
  const Zol::ZolAny_24_8 values = kyr::orla::appfw::cmdParametersToAny({{"thickness", 2}});
};

TEST_F(HostRefusalTest, ModifyObjectsTakesOnlyAReadOnlyReferenceListAndAParameterList) {
  const std::string source = "command KYR.CorePlugin.ModifyObjects: ";
  struct Case {
    const char* name;
    CmdParameters params;
    std::string failure;
  };
  const Case cases[] = {
      {"the writable list's type",
       {{"objects", Zol::makeZolAny(ListPtr(list))}, {"values", values}},
       source + "\"objects\" is Zol.PersistenceFW.CAEData.IEntityReferenceList, not "
                "Zol.PersistenceFW.CAEData.IEntityReferenceConstList"},
      {"no objects", {{"values", values}}, source + "no \"objects\""},
      {"a list with a byte left over",
       {{"objects",
         withByteLeftOver(list->asService(),
                          Zol::interfaceTypeCode<Zol::PersistenceFW::CAEData::IEntityReferenceConstListInterface>())},
        {"values", values}},
       source + "\"objects\" does not read as one value: Any stream: bytes left after the last value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(command("KYR.CorePlugin", "ModifyObjects")->execute(c.params).getCode(), Zol::ZolResult_24_8::kFailure);
    EXPECT_TRUE(plate->attribute("thickness").holdsNothing()) << "a refused command changes nothing";
    EXPECT_EQ(takeFailures(), std::vector<std::string>{c.failure});
  }

  EXPECT_TRUE(command("KYR.CorePlugin", "ModifyObjects")
                  ->execute({{"objects", Zol::makeZolAny(ConstListPtr(list))}, {"values", values}})
                  .isOk());
  EXPECT_EQ(plate->attribute("thickness"), Zol::ZolAny_24_8(2));
}

TEST_F(HostRefusalTest, TheWorkThreadCommandRequestRunsNothingItCannotDecode) {
  const auto modify = command("KYR.CorePlugin", "ModifyObjects");
  const Zol::ZolAny_24_8 commandValue = Zol::makeZolAny(modify);
  const Zol::ZolAny_24_8 param =
      kyr::orla::appfw::cmdParametersToAny({{"objects", Zol::makeZolAny(ConstListPtr(list))}, {"values", values}});
  const std::string source = "GUI action KYR.WyrdanPlugin.WorkThreadCommandRequest: ";
  struct Case {
    const char* name;
    Zol::ZolAny_24_8 payload;
    std::string failure;
  };
  const Case cases[] = {
      {"no parameter list", commandValue, source + "not a parameter list: kyr.orla.appfw.ICmdCommand 4 bytes"},
      {"no command", kyr::orla::appfw::cmdParametersToAny({{"param", param}}), source + "no \"command\""},
      {"parameters that are no list",
       kyr::orla::appfw::cmdParametersToAny({{"command", commandValue}, {"param", Zol::makeZolAny("thick")}}),
       source + "\"param\" is Zol.ZolString, not kyr.orla.appfw.CmdParameters"},
      {"a command with a byte left over",
       kyr::orla::appfw::cmdParametersToAny(
           {{"command", withByteLeftOver(Zol::ZolIService(modify), Zol::interfaceTypeCode<ICmdCommandInterface>())},
            {"param", param}}),
       source + "\"command\" does not read as one value: Any stream: bytes left after the last value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.guiExecutive().runGuiAction("KYR.WyrdanPlugin.WorkThreadCommandRequest", c.payload);
    host.workThread().waitIdle();
    EXPECT_EQ(dynamic_cast<const simhost::SimCommand&>(*modify).executions(), 0);
    EXPECT_EQ(takeFailures(), std::vector<std::string>{c.failure});
  }

  host.guiExecutive().runGuiAction("KYR.WyrdanPlugin.WorkThreadCommandRequest",
                                   kyr::orla::appfw::cmdParametersToAny({{"command", commandValue}, {"param", param}}));
  host.workThread().waitIdle();
  EXPECT_EQ(plate->attribute("thickness"), Zol::ZolAny_24_8(2));
}

TEST_F(HostRefusalTest, ThePersistenceListenerDecodesItsRecordsAndRefusesTheRest) {
  const std::int64_t domain = *host.eventManager().domainId("kyr.orla.appfw.ModelPersistence");
  const Zol::ZolTypeCode_24_8 type = kyr::orla::appfw::getTC_ModelPersistenceEvent();
  const auto record = [&](const Zol::ZolTypeCode_24_8& own, bool extraByte) {
    Zol::ZolAny_24_8 payload;
    Zol::ZolOutStream_24_8 out = payload.initializeStream();
    Zol::marshaller_insert(out, own);
    Zol::marshaller_insert(out, icu::UnicodeString(u"Gearbox"));
    Zol::marshaller_insert(out, true);
    const std::uint8_t extra = 0;
    if (extraByte) out.writeBytes(&extra, 1);
    payload.setData(type);
    return payload;
  };
  host.eventManager().deliver({domain, 3, record(type, false)});
  ASSERT_EQ(host.persistenceListener().records().size(), 1u);
  EXPECT_EQ(host.persistenceListener().records()[0].modelName, u"Gearbox");

  const std::string source = "persistence listener: event 21: ";
  struct Case {
    const char* name;
    Zol::ZolAny_24_8 payload;
    std::string failure;
  };
  const Case cases[] = {
      {"another type", Zol::ZolAny_24_8(1),
       source + "a payload of type Zol.Int32, not kyr.orla.appfw.ModelPersistenceEvent"},
      {"another type code inside", record(Zol::getTC_Zol_Int32_24_8(), false),
       source + "the stream starts with Zol.Int32, not its own type code"},
      {"a byte left over", record(type, true),
       source + "the record does not read: Any stream: bytes left after the last value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.eventManager().deliver({domain, 21, c.payload});
    EXPECT_EQ(takeFailures(), std::vector<std::string>{c.failure});
  }
  EXPECT_EQ(host.persistenceListener().records().size(), 1u);
}

}  // namespace
