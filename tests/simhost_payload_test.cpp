// The decoded journal: every any-valued argument of a journaled call is
// readable field by field, typed, nested, and printable.
#include <cstdint>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "kyr/appfw/CmdParameters.h"
#include "kyr/appfw/ModelBrowserRecords.h"
#include "kyr/appfw/ModelPersistenceRecords.h"
#include "support/SimHostTest.h"

namespace {

using kyr::orla::appfw::CmdParameters;
using simhost::CallPattern;
using simhost::Payload;
using ::testing::ThrowsMessage;
using Gui = kyr::orla::appfw::ZolIGuiExecutiveInterface;
using EventManager = Zol::Framework::ZolIEventManagerInterface;
namespace appfw = kyr::orla::appfw;
using testing_support::written;

class PayloadTest : public testing_support::HostTest {
 protected:
  // The payload of the last call of `operation` of the event manager.
  const Payload& lastPublished() {
    published_ = host.journal().calls(CallPattern::of<EventManager>("publishEvent")).back();
    return published_.payload();
  }

  const std::int64_t domain = host.eventManager().defineDomain("Test.Payloads");
  const ZolSmartPointer<simhost::SimEntity> plate = host.model().addEntity(5, 1, 0, "plate", "Plate");

 private:
  simhost::HostCall published_;
};

TEST_F(PayloadTest, AParameterListReadsByKeyTypedAndNested) {
  const CmdParameters values{{"thickness", Zol::makeZolAny(4.5)}, {"material", Zol::makeZolAny("steel")}};
  const CmdParameters request{{"severity", 2},
                              {"message", Zol::makeZolAny(icu::UnicodeString(u"3 of 4 meshed"))},
                              {"values", kyr::orla::appfw::cmdParametersToAny(values)},
                              {"count", Zol::makeZolAny(std::uint64_t{1} << 40)},
                              {"severity", 3}};
  host.guiExecutive().runGuiAction("Test.Action", kyr::orla::appfw::cmdParametersToAny(request));

  const simhost::HostCall call = host.journal().calls(CallPattern::of<Gui>("runGuiAction")).back();
  ASSERT_EQ(call.payloads.size(), 1u) << "the action's name is no payload";
  const Payload& payload = call.payload();
  EXPECT_EQ(payload.typeName(), "kyr.orla.appfw.CmdParameters");
  EXPECT_EQ(payload.fields().size(), 5u);
  EXPECT_EQ(payload["severity"].as<std::int32_t>(), 3) << "a repeated key reads as its last value";
  EXPECT_EQ(payload.at(0).as<std::int32_t>(), 2);
  EXPECT_EQ(payload["message"].as<icu::UnicodeString>(), u"3 of 4 meshed");
  EXPECT_EQ(payload["values"]["thickness"].as<double>(), 4.5);
  EXPECT_EQ(payload["count"].as<std::uint64_t>(), std::uint64_t{1} << 40);
  EXPECT_FALSE(payload.has("value"));
  EXPECT_EQ(payload["values"].tree(),
            "kyr.orla.appfw.CmdParameters\n  thickness: Zol.Double 4.500000\n  material: Zol.ZolString \"steel\"\n");
  EXPECT_EQ(payload["values"].text(),
            "kyr.orla.appfw.CmdParameters {thickness: Zol.Double 4.500000, material: Zol.ZolString \"steel\"}");

  // What is not there, or not of the type asked for, says what there is.
  EXPECT_THAT([&] { static_cast<void>(payload["colour"]); },
              ThrowsMessage<std::invalid_argument>(
                  "no field \"colour\" in kyr.orla.appfw.CmdParameters {severity, message, values, count, severity}"));
  EXPECT_THAT([&] { static_cast<void>(payload["severity"].as<double>()); },
              ThrowsMessage<std::invalid_argument>("Zol.Int32 3 is not Zol.Double"));
  EXPECT_THROW(static_cast<void>(call.payload(1)), std::invalid_argument);
}

TEST_F(PayloadTest, HostRecordsReadAsTheirFieldsAndObjectsByIdentity) {
  const auto list = simhost::makeSimObject<simhost::SimEntityReferenceList>(
      host.context(), std::vector<Zol::PersistenceFW::CAEData::EntityReference>{plate->reference()});
  const std::uint32_t before = simhost::referenceCount(list);

  host.eventManager().publishEvent(
      {domain, 2,
       written(appfw::getTC_NodesUpdate(), list->asService(), 1u, appfw::getTC_CmdParameter(), "color",
               Zol::makeZolAny("red"), Zol::ZolIService())},
      0);
  const Payload& record = lastPublished();
  EXPECT_EQ(record.typeName(), "kyr.orla.appfw.NodesUpdate");
  EXPECT_TRUE(record["references"].refersTo(list));
  EXPECT_EQ(record["references"].at(0)["first"].as<std::uint32_t>(), 5u) << "a list shows its references";
  EXPECT_EQ(record["references"].objectName(), "entity reference list #" + std::to_string(list->serviceId()));
  EXPECT_EQ(record["values"]["color"].as<std::string>(), "red");
  EXPECT_TRUE(record["moreReferences"].refersTo(ZolSmartPointer<Zol::ZolIServiceInterface>()));
  EXPECT_EQ(simhost::referenceCount(list), before) << "the journal keeps no object alive";

  host.eventManager().publishEvent(
      {domain, 1, Zol::makeZolAny(ZolSmartPointer<kyr::orla::appfw::IEntityInterface>(plate))}, 0);
  EXPECT_EQ(lastPublished().kind(), Payload::Kind::Object) << "an entity typed with its interface";
  EXPECT_TRUE(lastPublished().refersTo(plate));

  const Zol::ZolTypeCode_24_8 persistence = appfw::getTC_ModelPersistenceEvent();
  host.eventManager().publishEvent({domain, 3, written(persistence, persistence, icu::UnicodeString(u"Gearbox"), true)},
                                   0);
  EXPECT_EQ(lastPublished()["type"].as<std::string>(), "kyr.orla.appfw.ModelPersistenceEvent");
  EXPECT_EQ(lastPublished()["modelName"].as<icu::UnicodeString>(), u"Gearbox");
  EXPECT_TRUE(lastPublished()["written"].as<bool>());
}

// The table of records in Payload.h names every record's fields, in order.
TEST_F(PayloadTest, RecordsHaveTheFieldsTheirHeaderDocuments) {
  const Zol::ZolIService model = plate->reference().container;
  const Zol::ZolIService list = simhost::makeSimObject<simhost::SimEntityReferenceList>(host.context())->asService();
  std::map<std::string, std::string> decoded;
  for (const Zol::ZolAny_24_8& record :
       {written(Zol::PersistenceFW::CAEData::getTC_EntityReference(), model, 5u, 1u, 0u),
        written(appfw::getTC_CmdContext(), 0), written(appfw::getTC_NodeInsertion(), model, 5u, 1u, 0u, 0u),
        written(appfw::getTC_NodesAddition(), list, 0u), written(appfw::getTC_NodesUpdate(), list, 0u, list),
        written(appfw::getTC_NodesRemoval(), 1u, model, 0u, 0),
        written(appfw::getTC_ModelPersistenceEvent(), appfw::getTC_CmdContext(), icu::UnicodeString(), false)}) {
    const Payload payload = Payload::of(record);
    for (const Payload::Field& field : payload.fields()) {
      decoded[payload.typeName()] += (decoded[payload.typeName()].empty() ? "`" : ", `") + field.name + "`";
    }
  }
  // Its rows read "/// | `<type>` | `<field>`, `<field>` |".
  std::map<std::string, std::string> documented;
  std::ifstream header(std::string(WYRDAN_SOURCE_DIR) + "/simhost/include/simhost/testbed/Payload.h");
  for (std::string line; std::getline(header, line);) {
    if (line.rfind("/// | `", 0) != 0) continue;
    const std::size_t typeEnd = line.find('`', 7);
    const std::size_t fields = line.find("| ", typeEnd) + 2;
    documented[line.substr(7, typeEnd - 7)] = line.substr(fields, line.rfind(" |") - fields);
  }
  EXPECT_EQ(documented, decoded);
}

TEST_F(PayloadTest, WhatDoesNotReadShowsItsBytesAndWhy) {
  Zol::ZolAny_24_8 trailing = kyr::orla::appfw::cmdParametersToAny({{"severity", 1}});
  {
    Zol::ZolAny_24_8 copy;
    Zol::ZolOutStream_24_8 out = copy.initializeStream();
    out.writeBytes(trailing.streamBytes().data(), trailing.streamBytes().size());
    const std::uint8_t extra = 9;
    out.writeBytes(&extra, 1);
    copy.setData(kyr::orla::appfw::getTC_CmdParameters());
    trailing = copy;
  }
  host.eventManager().publishEvent({domain, 1, trailing}, 0);
  EXPECT_EQ(lastPublished().kind(), Payload::Kind::Bytes);
  EXPECT_EQ(lastPublished().bytes(), trailing.streamBytes());
  EXPECT_NE(lastPublished().problem(), "");
  EXPECT_EQ(
      lastPublished().text().rfind(
          "kyr.orla.appfw.CmdParameters " + std::to_string(trailing.streamSize()) + " bytes that do not read: ", 0),
      0u)
      << lastPublished().text();

  Zol::ZolAny_24_8 unknown;
  {
    Zol::ZolOutStream_24_8 out = unknown.initializeStream();
    Zol::marshaller_insert(out, std::int64_t{5});
    unknown.setData(kyr::orla::appfw::getTC_CmdContext());
  }
  host.eventManager().publishEvent({domain, 1, unknown}, 0);
  EXPECT_EQ(lastPublished().kind(), Payload::Kind::Bytes) << "a context is an int32, not 8 bytes";

  host.eventManager().publishEvent({domain, 1, Zol::ZolAny_24_8()}, 0);
  EXPECT_EQ(lastPublished().kind(), Payload::Kind::Nothing);
  EXPECT_EQ(lastPublished().text(), "nothing");
}

}  // namespace
