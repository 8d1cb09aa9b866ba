// The host kernel as the library relies on it: casts, the any stream,
// exceptions and their creators, sequences and text conversion.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "kyr/appfw/CmdParameters.h"
#include "kyr/appfw/TrashBin.h"
#include "simhost/services/app/SimAppServices.h"
#include "simhost/testbed/SimObject.h"
#include "support/HostTest.h"
#include "support/Memory.h"
#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolException.h"
#include "zol/kernel/ZolHostExceptions.h"
#include "zol/kernel/ZolStringUtility.h"

namespace {

using kyr::orla::appfw::ZolITrashBinInterface;

simhost::SimContextPtr newContext() { return std::make_shared<simhost::SimContext>(); }

class InterfaceCast : public testing_support::LeakCheckedTest {};
class AnyStream : public testing_support::LeakCheckedTest {};
class AnyValue : public testing_support::LeakCheckedTest {};

TEST_F(InterfaceCast, ThrowingCastReportsEveryStatusOfTheTable) {
  struct Case {
    std::int32_t status;
    const char* suffix;
  };
  const Case cases[] = {
      {1, " failed. Object does not implement the desired interface."},
      {10007, " failed. Internal CORBA bridge error=10007"},
      {60000, " failed (error=60000)"},
      {-3, " failed (error=-3)"},
  };
  auto object = simhost::makeSimObject<simhost::SimService>(newContext(), "object");
  const Zol::ZolIService service = object->asService();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    object->setQueryStatus(ZolITrashBinInterface::descriptor.typeId, c.status);
    try {
      Zol::interfaceCastOrThrow<ZolITrashBinInterface>(service);
      ADD_FAILURE() << "no exception";
    } catch (const Zol::ZolSystemException_24& e) {
      EXPECT_EQ(e.getText(),
                std::string("Cast from interface Zol.ZolIService to kyr.orla.appfw.ZolITrashBin") + c.suffix);
      EXPECT_EQ(e.getCode(), 2010000000 + c.status);
      EXPECT_EQ(e.getErrorPolicy(), "ZolException");
    }
    EXPECT_FALSE(Zol::interfaceCast<ZolITrashBinInterface>(service));
  }
}

// An any bound to `type` whose stream `write` wrote.
template <class Write>
Zol::ZolAny_24_8 written(const Zol::ZolTypeCode_24_8& type, Write write) {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  write(out);
  any.setData(type);
  return any;
}

// An any whose stream holds `values`, in order, bound to `type`.
template <class... Values>
Zol::ZolAny_24_8 streamOf(const Zol::ZolTypeCode_24_8& type, const Values&... values) {
  return written(type, [&](Zol::ZolOutStream_24_8& out) { (Zol::marshaller_insert(out, values), ...); });
}

// Reads one T from a stream that holds only `size` bytes at `bytes`.
template <class T>
void readOneFrom(const void* bytes, std::size_t size) {
  Zol::ZolAny_24_8 any;
  any.initializeStream().writeBytes(bytes, size);
  any.setData(Zol::getTC_Zol_Int32_24_8());
  Zol::ZolInStream_24_8 in = any.openStream();
  T value{};
  Zol::marshaller_extract(in, value);
}

const char kNarrow[] =
    "Gr\xC3\xBC\xC3\x9F"
    "e";
const icu::UnicodeString kWide = icu::UnicodeString::fromUTF8("\xE6\xA8\xA1\xE5\x9E\x8B \xF0\x9F\x94\xA7");

Zol::ZolAny_24_8 everyKind(const Zol::ZolIService& object) {
  return streamOf(Zol::getTC_Zol_ZolString_24_8(), true, std::int32_t{-7}, std::uint64_t{1} << 40, 2.5, kNarrow, kWide,
                  Zol::getTC_Zol_ZolString_24_8(), Zol::ZolIService(), Zol::makeZolAny(object));
}

// What everyKind() writes, read back in the same order.
struct EveryKind {
  bool flag = false;
  std::int32_t small = 0;
  std::uint64_t large = 0;
  double real = 0;
  std::string narrow;
  icu::UnicodeString wide;
  Zol::ZolTypeCode_24_8 typeCode;
  Zol::ZolIService none;
  Zol::ZolAny_24_8 nested;
  bool atEnd = false;

  static EveryKind readFrom(const Zol::ZolAny_24_8& any) {
    EveryKind read;
    Zol::ZolInStream_24_8 in = any.openStream();
    Zol::marshaller_extract(in, read.flag);
    Zol::marshaller_extract(in, read.small);
    Zol::marshaller_extract(in, read.large);
    Zol::marshaller_extract(in, read.real);
    Zol::marshaller_extract(in, read.narrow);
    Zol::marshaller_extract(in, read.wide);
    Zol::marshaller_extract(in, read.typeCode);
    Zol::marshaller_extract(in, read.none);
    Zol::marshaller_extract(in, read.nested);
    read.atEnd = in.atEnd();
    return read;
  }
};

TEST_F(AnyStream, EveryValueKindReadsBackAsWritten) {
  auto bin = simhost::makeSimObject<simhost::SimTrashBin>(newContext(), "bin");
  const Zol::ZolAny_24_8 any = everyKind(bin->asService());
  EXPECT_EQ(any.objectCount(), 1u);

  const EveryKind read = EveryKind::readFrom(any);
  EXPECT_TRUE(read.atEnd);

  EXPECT_TRUE(read.flag);
  EXPECT_EQ(read.small, -7);
  EXPECT_EQ(read.large, std::uint64_t{1} << 40);
  EXPECT_EQ(read.real, 2.5);
  EXPECT_EQ(read.narrow, kNarrow);
  EXPECT_EQ(read.wide, kWide);
  EXPECT_EQ(read.typeCode, Zol::getTC_Zol_ZolString_24_8());
  EXPECT_FALSE(read.none);
  Zol::ZolIService object;
  ASSERT_TRUE(Zol::extractZolAny(read.nested, object));
  EXPECT_TRUE(Zol::isSameObject(object, bin));
}

TEST_F(AnyStream, TruncatedOrMalformedStreamsRaiseKernelExceptions) {
  auto bin = simhost::makeSimObject<simhost::SimTrashBin>(newContext(), "bin");
  const Zol::ZolAny_24_8 complete = everyKind(bin->asService());
  const std::string_view bytes = complete.streamBytes();
  // Every proper prefix of the stream is truncated somewhere.
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    Zol::ZolAny_24_8 truncated;
    truncated.initializeStream().writeBytes(bytes.data(), length);
    EXPECT_THROW(EveryKind::readFrom(truncated), Zol::ZolSystemException_24);
  }

  const std::uint8_t two = 2;
  EXPECT_THROW(readOneFrom<bool>(&two, 1), Zol::ZolSystemException_24);
  const std::uint32_t hugeLength = 0xfffffff0U;
  EXPECT_THROW(readOneFrom<std::string>(&hugeLength, 4), Zol::ZolSystemException_24);
  EXPECT_THROW(readOneFrom<icu::UnicodeString>(&hugeLength, 4), Zol::ZolSystemException_24);
  const std::uint32_t objectIndex = 0;
  EXPECT_THROW(readOneFrom<Zol::ZolIService>(&objectIndex, 4), Zol::ZolSystemException_24);
  const std::uint64_t unknownId[2] = {0x1234, 0x5678};
  EXPECT_THROW(readOneFrom<Zol::ZolTypeCode_24_8>(unknownId, 16), Zol::Framework::Reflection::TypeCodeException);
}

// Holding nothing is one state: bytes written without a type, or an any
// emptied in any way, look, compare and travel like a default any.
TEST_F(AnyValue, HoldingNothingIsOneState) {
  Zol::ZolAny_24_8 unbound;
  Zol::ZolOutStream_24_8 unboundOut = unbound.initializeStream();
  Zol::marshaller_insert(unboundOut, std::int32_t{7});
  EXPECT_TRUE(unbound.holdsNothing());
  EXPECT_EQ(unbound, Zol::ZolAny_24_8());
  EXPECT_EQ(unbound.streamSize(), 0u);
  EXPECT_TRUE(unbound.openStream().atEnd());

  const Zol::ZolAny_24_8 carrier = streamOf(Zol::getTC_Zol_ZolString_24_8(), unbound);
  EXPECT_EQ(carrier.streamSize(), 24u) << "nothing is the null id, no bytes, no objects";
  Zol::ZolInStream_24_8 in = carrier.openStream();
  Zol::ZolAny_24_8 back(true);
  Zol::marshaller_extract(in, back);
  EXPECT_TRUE(back.holdsNothing());
  EXPECT_EQ(back, unbound) << "a value holding nothing compares equal to its own round trip";

  // Objects are read once each, in the order written; a typed read that
  // leaves an object behind would drop it.
  auto bin = simhost::makeSimObject<simhost::SimTrashBin>(std::make_shared<simhost::SimContext>(), "bin");
  const Zol::ZolAny_24_8 twoObjects =
      streamOf(Zol::interfaceTypeCode<Zol::ZolIServiceInterface>(), bin->asService(), bin->asService());
  Zol::ZolIService object;
  EXPECT_THROW(Zol::extractZolAny(twoObjects, object), Zol::ZolSystemException_24);
  Zol::ZolInStream_24_8 backwards = twoObjects.openStream();
  std::uint32_t second = 1;
  EXPECT_THROW(backwards.object(second), Zol::ZolSystemException_24);

  // Binding no type is a mistake, not a way to hold nothing.
  Zol::ZolAny_24_8 typed(std::int32_t{1});
  bool flag = false;
  EXPECT_FALSE(Zol::extractZolAny(typed, flag)) << "extraction must check the type code";
  const Zol::ZolTypeCode_24_8 unregistered = Zol::getCachedTypeCodeInit_24_8(Zol::typeIdFromName("Test.Nobody"));
  EXPECT_THROW(typed.setData(unregistered), Zol::Framework::Reflection::TypeCodeException);
  typed.setNothing();
  EXPECT_EQ(typed, Zol::ZolAny_24_8());
}

// A list reads exactly its counted elements. The list writer that copies
// each element in blocks writes the bytes and the object table the
// marshaller writes field by field, appending to what the stream holds.
TEST_F(AnyStream, ListsReadExactlyTheCountedElementsAndWrittenInBlocksMatchTheFieldByFieldWriter) {
  using kyr::orla::appfw::CmdParameter;
  const kyr::orla::appfw::CmdParameters pair{{"a", 1}, {"b", true}};
  const Zol::ZolAny_24_8 counted = kyr::orla::appfw::cmdParametersToAny(pair);
  EXPECT_EQ(kyr::orla::appfw::cmdParametersFromAny(counted), pair);

  const auto longer = written(kyr::orla::appfw::getTC_CmdParameters(), [&](Zol::ZolOutStream_24_8& out) {
    out.writeBytes(counted.streamBytes().data(), counted.streamSize());
    Zol::marshaller_insert(out, std::int32_t{0});
  });
  EXPECT_THROW(kyr::orla::appfw::cmdParametersFromAny(longer), Zol::ZolSystemException_24)
      << "bytes after the last counted element were dropped silently";

  Zol::ZolAny_24_8 noStream;
  noStream.initializeStream();
  noStream.setData(kyr::orla::appfw::getTC_CmdParameters());
  EXPECT_FALSE(kyr::orla::appfw::holdsCmdParameters(noStream));
  EXPECT_TRUE(kyr::orla::appfw::cmdParametersFromAny(noStream).empty());

  auto bin = simhost::makeSimObject<simhost::SimTrashBin>(newContext(), "bin");
  const Zol::ZolAny_24_8 objects = streamOf(Zol::interfaceTypeCode<Zol::ZolIServiceInterface>(), bin->asService(),
                                            Zol::ZolIService(), bin->asService());
  const std::vector<CmdParameter> list{{"", 1},
                                       {"long", Zol::makeZolAny(std::string(300, 'x'))},
                                       {"nothing", Zol::ZolAny_24_8()},
                                       {"objects", objects},
                                       {"every kind", everyKind(bin->asService())},
                                       {"objects again", objects}};

  // After an object already in the table, so that indices continue from it.
  const auto fieldByField = written(Zol::getTC_Zol_Int32_24_8(), [&](Zol::ZolOutStream_24_8& out) {
    Zol::marshaller_insert(out, bin->asService());
    Zol::marshaller_insert(out, static_cast<std::uint32_t>(list.size()));
    for (const CmdParameter& param : list) kyr::orla::appfw::marshalCmdParameter(out, param.name, param.value);
  });
  const auto inBlocks = written(Zol::getTC_Zol_Int32_24_8(), [&](Zol::ZolOutStream_24_8& out) {
    Zol::marshaller_insert(out, bin->asService());
    kyr::orla::appfw::marshalCmdParameterList(out, list);
  });
  EXPECT_EQ(inBlocks.streamBytes(), fieldByField.streamBytes());
  EXPECT_EQ(inBlocks.objectCount(), 6u);
  EXPECT_EQ(inBlocks, fieldByField) << "the same objects, in the same order";

  // Pairs of any container; the host's list writer gives the same stream.
  const std::map<std::string, Zol::ZolAny_24_8> map{{"b", Zol::makeZolAny(2.5)}, {"a", objects}};
  const auto fromMap = written(kyr::orla::appfw::getTC_CmdParameters(), [&](Zol::ZolOutStream_24_8& out) {
    kyr::orla::appfw::marshalCmdParameterList(out, map);
  });
  EXPECT_EQ(fromMap, kyr::orla::appfw::cmdParametersToAny({{"a", objects}, {"b", Zol::makeZolAny(2.5)}}));

  // A table entry without an object is written as no object, as the
  // marshaller writes it, and takes no index.
  Zol::ZolAny_24_8 emptyEntry;
  emptyEntry.initializeStream().addObject(Zol::ZolIService());
  emptyEntry.setData(Zol::interfaceTypeCode<Zol::ZolIServiceInterface>());
  const kyr::orla::appfw::CmdParameters withEmptyEntry{{"k", emptyEntry}, {"objects", objects}};
  EXPECT_EQ(
      written(kyr::orla::appfw::getTC_CmdParameters(),
              [&](Zol::ZolOutStream_24_8& out) { kyr::orla::appfw::marshalCmdParameterList(out, withEmptyEntry); }),
      kyr::orla::appfw::cmdParametersToAny(withEmptyEntry));

  // A name cut short, and an element of another type, raise.
  const std::string_view bytes = fromMap.streamBytes();
  for (std::size_t length : {std::size_t{4}, std::size_t{12}, std::size_t{20}, std::size_t{21}, std::size_t{24}}) {
    SCOPED_TRACE(length);
    Zol::ZolAny_24_8 truncated;
    truncated.initializeStream().writeBytes(bytes.data(), length);
    truncated.setData(kyr::orla::appfw::getTC_CmdParameters());
    Zol::ZolInStream_24_8 truncatedIn = truncated.openStream();
    std::uint32_t count = 0;
    Zol::marshaller_extract(truncatedIn, count);
    EXPECT_THROW(kyr::orla::appfw::unmarshalCmdParameterName(truncatedIn), Zol::ZolSystemException_24);
  }
  const Zol::ZolAny_24_8 wrongElement = streamOf(Zol::getTC_Zol_Int32_24_8(), Zol::getTC_Zol_ZolString_24_8(), "k");
  Zol::ZolInStream_24_8 wrongIn = wrongElement.openStream();
  EXPECT_THROW(kyr::orla::appfw::unmarshalCmdParameterName(wrongIn), Zol::ZolSystemException_24);
}

TEST(StringUtility, LongTextsConvertWholeOrRaise) {
  const auto& strings = Zol::baseStringUtilityInstance_24_8();
  // A surrogate pair straddling the conversion chunk boundary stays whole.
  icu::UnicodeString text(Zol::kConversionChunkUnits - 1, u'a', Zol::kConversionChunkUnits - 1);
  text.append(static_cast<UChar32>(0x1F527));
  text.append(u'z');
  const std::string utf8 = strings.stringFromUString(text, true);
  ASSERT_EQ(utf8.size(), static_cast<std::size_t>(Zol::kConversionChunkUnits - 1) + 5);
  EXPECT_EQ(utf8.substr(utf8.size() - 5), "\xF0\x9F\x94\xA7z");

  // 2^31 bytes cannot become a Unicode string; reading any of them faults.
  const testing_support::InaccessibleBytes bytes(std::size_t{1} << 31);
  ASSERT_NE(bytes.data(), nullptr);
  try {
    strings.ustringFromString(std::string_view(bytes.data(), bytes.size()));
    ADD_FAILURE() << "a text of 2^31 bytes came back";
  } catch (const Zol::ZolSystemException_24& e) {
    EXPECT_EQ(e.getCode(), Zol::kTextTooLong);
  }
}

TEST(Exceptions, CreatorRegistrationsNest) {
  const char* name = "Test.CustomException";
  EXPECT_EQ(std::string(Zol::createException(name, 1, "x")->getTypeName()), "Zol.ZolUserException");
  auto typeCodeCreator = [](std::int32_t code, const std::string& text) -> std::unique_ptr<Zol::ZolException_24> {
    return std::make_unique<Zol::Framework::Reflection::TypeCodeException>(code, text);
  };
  Zol::registerCreator(name, typeCodeCreator);
  Zol::registerCreator(name, typeCodeCreator);
  Zol::unregisterCreator(name);
  EXPECT_TRUE(Zol::hasCreator(name)) << "registrations nest";
  auto created = Zol::createException(name, 9, "bad type");
  EXPECT_EQ(std::string(created->getTypeName()), "Zol.Framework.Reflection.TypeCodeException");
  EXPECT_EQ(created->getCode(), 9);
  Zol::unregisterCreator(name);
  EXPECT_FALSE(Zol::hasCreator(name));
}

TEST(StringUtility, ConversionsKeepNonAsciiText) {
  const auto& strings = Zol::baseStringUtilityInstance_24_8();
  const std::string utf8 =
      "Stra\xC3\x9F"
      "e \xE2\x88\x91 \xF0\x9F\x94\xA7";
  const icu::UnicodeString text = strings.ustringFromString(utf8);
  EXPECT_EQ(text.length(), 11);  // the wrench is a surrogate pair
  EXPECT_EQ(strings.stringFromUString(text, true), utf8);
  EXPECT_EQ(strings.wstringFromUString(text), L"Stra\u00DFe \u2211 \U0001F527");
  EXPECT_EQ(strings.wstringFromUString(icu::UnicodeString(u"a\0b", 3)), std::wstring(L"a\0b", 3));
  const char16_t unpaired[] = {u'x', 0xD800, u'y'};
  const std::wstring wide = strings.wstringFromUString(icu::UnicodeString(unpaired, 3));
  if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
    EXPECT_EQ(wide, (std::wstring{L'x', static_cast<wchar_t>(0xD800), L'y'})) << "UTF-16 keeps the code unit";
  } else {
    EXPECT_EQ(wide, L"x\uFFFDy") << "UTF-32 has no code point for it";
  }

  for (const char* truthy : {"true", "TRUE", " Yes ", "on", "1"}) EXPECT_TRUE(strings.stringToBool(truthy)) << truthy;
  for (const char* falsy : {"", "false", "0", "no", "truex", "2"}) EXPECT_FALSE(strings.stringToBool(falsy)) << falsy;
}

TEST(TypeCodes, RegistrationIsIdempotentAndConflictsThrow) {
  const Zol::ZolTypeId id = Zol::typeIdFromName("Test.Point");
  const Zol::ZolTypeCode_24_8 point = Zol::registerTypeCode_24_8("Test.Point", id);
  EXPECT_EQ(Zol::registerTypeCode_24_8("Test.Point", id), point);
  EXPECT_EQ(Zol::getCachedTypeCodeInit_24_8(id), point);
  EXPECT_EQ(Zol::getCachedTypeCode_24_8("Test.Point", true), point);
  EXPECT_EQ(point.getName(), "Test.Point");
  EXPECT_THROW(Zol::registerTypeCode_24_8("Test.Point", Zol::typeIdFromName("other")),
               Zol::Framework::Reflection::TypeCodeException);
  EXPECT_THROW(Zol::registerTypeCode_24_8("Test.Other", id), Zol::Framework::Reflection::TypeCodeException);

  EXPECT_TRUE(Zol::getCachedTypeCode_24_8("Test.Unknown", false).empty());
  EXPECT_THROW(Zol::getCachedTypeCode_24_8("Test.Unknown", true), Zol::Framework::Reflection::TypeCodeException);
  EXPECT_TRUE(Zol::getCachedTypeCodeInit_24_8(Zol::typeIdFromName("Test.Unknown")).empty());

  // The ids the host fixes, written out here rather than taken from the SDK's
  // constants, so that a mistyped constant shows: each is known from load.
  const std::pair<Zol::ZolTypeId, const char*> fixedIds[] = {
      {{0x842f14211789310fULL, 0x8a6ccefe5e88ae62ULL}, "kyr.orla.appfw.CmdParameters"},
      {{0xcde6bd48aead3286ULL, 0x9e63981ff9afda25ULL}, "Zol.PersistenceFW.CAEData.EntityReference"},
      {{0x4e36e2872d3a346aULL, 0x8b6ca2445de32f87ULL}, "kyr.orla.appfw.NodesRemoval"},
      {{0x4a1d83e28b8d3cffULL, 0xa321a5212b78dcefULL}, "kyr.orla.appfw.ModelPersistenceEvent"},
  };
  for (const auto& [fixedId, name] : fixedIds) {
    EXPECT_EQ(Zol::getCachedTypeCodeInit_24_8(fixedId).getName(), name);
  }
  EXPECT_EQ(Zol::interfaceTypeCode<ZolITrashBinInterface>().getTypeId(), ZolITrashBinInterface::descriptor.typeId);
}

}  // namespace
