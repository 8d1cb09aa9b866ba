// Answers and chosen shapes: a host operation replying with a chosen result
// and chosen outputs, once, n times or always; domain, channel and service
// ids a test chooses; plain entities.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/SimHostTest.h"
#include "zol/kernel/ZolException.h"

namespace {

using simhost::Answer;
using simhost::CallPattern;
using Zol::PersistenceFW::CAEData::EntityReference;
using EventManager = Zol::Framework::ZolIEventManagerInterface;
using AdapterManager = kyr::orla::appfw::IInterfaceAdapterManagerInterface;

class AnswerTest : public testing_support::HostTest {
 protected:
  std::vector<std::string> takeFailures() { return testing_support::takeFailures(host); }

  simhost::SimEventManager& events = host.eventManager();
  const CallPattern lookUp = CallPattern::of<EventManager>("lookUpDomainId");
};

TEST_F(AnswerTest, AnAnswerWritesItsOutputsReturnsItsCodeAndIsJournaled) {
  host.faults().answer(lookUp, Answer::failure(7).writing(97), 1);
  std::int64_t id = -1;
  EXPECT_EQ(events.lookUpDomainId("Test.Unknown", id).getCode(), 7);
  EXPECT_EQ(id, 97) << "written, then failed";
  id = -1;
  EXPECT_FALSE(events.lookUpDomainId("Test.Unknown", id).isOk()) << "once: the host answers for itself again";
  EXPECT_EQ(id, -1);
  EXPECT_EQ(host.journal().count(lookUp), 2u);

  // The compiler checks output<N> against the operation's signature.
  host.faults().answer(lookUp, simhost::answerTo<&EventManager::lookUpDomainId>().output<1>(-5));
  EXPECT_TRUE(events.lookUpDomainId("Test.Unknown", id).isOk());
  EXPECT_EQ(id, -5);
  EXPECT_TRUE(events.lookUpDomainId("Test.Other", id).isOk()) << "always";

  // Without outputs an answer returns its code without doing the work.
  const std::int64_t defined = events.defineDomain("Test.Defined");
  host.faults().clear();
  host.faults().answer(CallPattern::of<EventManager>("createDomainId"), Answer::success(), 2);
  id = 0;
  events.createDomainId("Test.Created", id);
  EXPECT_EQ(id, 0);
  EXPECT_FALSE(events.domainId("Test.Created")) << "an answer does not do the operation's work";
  EXPECT_TRUE(events.lookUpDomainId("Test.Defined", id).isOk());
  EXPECT_EQ(id, defined);
}

TEST_F(AnswerTest, AnswersAndFaultsFireInArmingOrderForTheirCountOfCalls) {
  host.faults().answer(lookUp, Answer::success().writing(1), 2);
  host.faults().inject(lookUp, simhost::Fault::userException("third"), 3);
  host.faults().answer(lookUp, Answer::success().writing(4));
  std::vector<std::int64_t> ids;
  for (int call = 0; call < 5; ++call) {
    std::int64_t id = 0;
    try {
      events.lookUpDomainId("Test.Any", id);
    } catch (const Zol::ZolUserException_24&) {
      id = -3;
    }
    ids.push_back(id);
  }
  EXPECT_EQ(ids, (std::vector<std::int64_t>{1, 1, -3, 4, 4}));
}

// An answer's value: returned where the operation returns one (the comparisons,
// the hash), converted to the output's interface, or refused when of another type.
TEST_F(AnswerTest, AnswersValuesAreReturnedConvertedOrRefusedWhenTheyDoNotFit) {
  simhost::SimRootManager& roots = host.rootManager();
  const auto plate = host.model().addEntity(5, 1, 0, "plate", "Plate");
  const auto other = host.model().addEntity(5, 2, 0, "other", "Plate");
  const EntityReference reference = plate->reference();
  host.faults().answer(CallPattern::of<AdapterManager>("areEqual"), Answer::success().returning(false));
  host.faults().answer(CallPattern::of<AdapterManager>("hashCode"),
                       simhost::answerTo<&AdapterManager::hashCode>().returning(42));
  EXPECT_FALSE(roots.areEqual(reference, reference)) << "the host says unequal";
  EXPECT_EQ(roots.hashCode(reference), 42);
  EXPECT_FALSE(roots.isLess(reference, reference)) << "unanswered: the host compares";
  host.faults().inject(CallPattern::of<AdapterManager>("isLess"), simhost::Fault::errorResult());
  EXPECT_FALSE(roots.isLess(reference, reference)) << "an error result is nothing a comparison can return";
  EXPECT_TRUE(takeFailures().empty());
  host.faults().clear();

  const auto getEntity = CallPattern::of<kyr::orla::appfw::IRootManagerInterface>("getEntity");
  host.faults().answer(getEntity, Answer::success().writing(other->asService()), 1);
  ZolSmartPointer<kyr::orla::appfw::IEntityInterface> found;
  EXPECT_TRUE(roots.getEntity(reference, found).isOk());
  EXPECT_TRUE(Zol::isSameObject(found, other));
  host.faults().answer(getEntity, Answer::success().writing(host.eventManager().asService()), 1);
  found = nullptr;
  roots.getEntity(reference, found);
  EXPECT_FALSE(found) << "an event manager is no entity";
  EXPECT_EQ(takeFailures().size(), 1u);

  host.faults().answer(lookUp, Answer::failure().writing("ninety-seven"), 1);
  host.faults().answer(lookUp, Answer::failure().writing(std::numeric_limits<std::uint64_t>::max()), 1);
  host.faults().answer(lookUp, Answer::success().writing(std::nullopt, 2), 1);
  host.faults().answer(CallPattern::of<AdapterManager>("areEqual"), Answer::success().returning("yes"), 1);
  std::int64_t id = -1;
  events.lookUpDomainId("Test.Any", id);
  events.lookUpDomainId("Test.Any", id);
  events.lookUpDomainId("Test.Any", id);
  EXPECT_EQ(id, -1) << "nothing was written";
  EXPECT_TRUE(roots.areEqual(reference, reference)) << "the host compared";
  const std::vector<std::string> failures = takeFailures();
  ASSERT_EQ(failures.size(), 4u);
  const char* const said[] = {"writes a std::string into output 0, a std::int64_t", "writes a std::uint64_t into",
                              "writes output 1, which the operation does not have (it has 1)",
                              "areEqual returns a std::string, where the operation returns a bool"};
  for (std::size_t index = 0; index < failures.size(); ++index) {
    EXPECT_NE(failures[index].find(said[index]), std::string::npos) << failures[index];
  }
}

TEST_F(AnswerTest, TestsChooseDomainChannelAndServiceIds) {
  constexpr std::int64_t kAbove32Bits = (std::int64_t{1} << 32) + 1;
  events.defineDomain("Test.Wide", kAbove32Bits);
  events.defineDomain("Test.Negative", -12);
  events.defineDomain("Test.Shared", -12);
  std::int64_t id = 0;
  EXPECT_TRUE(events.lookUpDomainId("Test.Wide", id).isOk());
  EXPECT_EQ(id, kAbove32Bits);
  EXPECT_TRUE(events.createDomainId("Test.Shared", id).isOk());
  EXPECT_EQ(id, -12);

  events.chooseChannelIds({kAbove32Bits, 0});
  std::vector<std::int64_t> channels(3);
  for (std::int64_t& channel : channels) events.createChannelId(channel);
  EXPECT_EQ(channels[0], kAbove32Bits);
  EXPECT_EQ(channels[1], 0);
  EXPECT_NE(channels[2], 0) << "then the host numbers them again";

  // The ids a test chose are never numbered for another domain or channel.
  const std::int64_t numbered = events.defineDomain("Test.Numbered");
  events.defineDomain("Test.ChosenNext", numbered + 1);
  events.chooseChannelIds({numbered + 2});
  events.createChannelId(channels[0]);
  events.createChannelId(channels[1]);
  events.createDomainId("Test.NumberedLater", id);
  EXPECT_EQ(channels[0], numbered + 2);
  for (const std::int64_t later : {channels[1], id}) {
    EXPECT_NE(later, numbered + 1);
    EXPECT_NE(later, numbered + 2);
  }

  host.trashBinService().setServiceId(7);
  EXPECT_EQ(host.trashBinService().getServiceId(), 7u);
  ZolSmartPointer<kyr::orla::appfw::ZolITrashBinInterface> bin;
  host.trashBinService().getTrashBin(bin);
  EXPECT_EQ(host.journal().calls().back().objectId, 7u) << "journaled under the chosen id";
}

TEST_F(AnswerTest, APlainEntityIsNoEngineeringObject) {
  const auto plain = host.model().addEntity(5, 1, 0, "plain", "Plate", simhost::EntityShape::Plain);
  EXPECT_FALSE(Zol::interfaceCast<Zol::EOM::IEOMObjectInterface>(plain));
  EXPECT_TRUE(Zol::interfaceCast<kyr::orla::appfw::IEntityInterface>(plain));
  simhost::EOMObjectPtr opened;
  EXPECT_FALSE(host.eomObjectFactory().open(plain->guid(), opened).isOk())
      << "the factory opens engineering objects only";
}

}  // namespace
