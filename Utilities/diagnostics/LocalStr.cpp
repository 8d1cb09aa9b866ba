#include "WyrdanPluginUtilities/diagnostics/LocalStr.h"

#include <utility>

#include "kyr/appfw/MessageHelper.h"
#include "zol/kernel/ZolStringUtility.h"

namespace kyr::orla::plugin::wyrdan {

namespace {

constexpr const char* kPluginDomain = "KYR.WyrdanPlugin";

// The argument list of plain translations: one shared sequence for the process.
const ZolSequence<Zol::ZolAny_24_8>& noArguments() {
  static const ZolSequence<Zol::ZolAny_24_8> none;
  return none;
}

}  // namespace

kyr::orla::appfw::MessageHelper LocalStr::m_msgHelper;

const Zol::ZolHoldingsRegistration LocalStr::m_holdings("LocalStr", [](Zol::ZolHeldReferences& held) {
  held.add("message helper's framework access", m_msgHelper.frameworkAccess());
  held.add("message helper's service provider", m_msgHelper.serviceProvider());
  held.add("message helper's translation table", m_msgHelper.translationTable());
  held.add("message helper's plug-in", m_msgHelper.plugin());
});

LocalStr::LocalStr(int id, const std::string& defaultText) : m_id(id), m_defaultText(defaultText) {}

LocalStr::LocalStr(std::string key, const std::string& defaultText)
    : m_id(0), m_key(std::move(key)), m_defaultText(defaultText) {}

LocalStr::LocalStr(const LocalStr& other) = default;
LocalStr::LocalStr(LocalStr&& other) noexcept = default;
LocalStr& LocalStr::operator=(const LocalStr& other) = default;
// Written out because a defaulted move of the strings onto themselves would
// empty them.
LocalStr& LocalStr::operator=(LocalStr&& other) noexcept {
  if (this != &other) {
    m_id = other.m_id;
    m_key = std::move(other.m_key);
    m_defaultText = std::move(other.m_defaultText);
    m_text = std::move(other.m_text);
  }
  return *this;
}
LocalStr::~LocalStr() = default;

LocalStr& LocalStr::format(const ZolSequence<Zol::ZolAny_24_8>& arguments) {
  m_text = loadRes(arguments);
  return *this;
}

icu::UnicodeString LocalStr::getUStr() {
  if (m_text.isEmpty()) m_text = loadRes(noArguments());
  return m_text;
}

std::string LocalStr::getStr() { return Zol::baseStringUtilityInstance_24_8().stringFromUString(getUStr(), true); }

std::wstring LocalStr::getWStr() { return Zol::baseStringUtilityInstance_24_8().wstringFromUString(getUStr()); }

void LocalStr::initialize(ZolSmartPointer<Zol::Framework::ZolIServiceProviderInterface>& provider) {
  m_msgHelper.initialize(kPluginDomain, provider);
}

icu::UnicodeString LocalStr::loadRes(const ZolSequence<Zol::ZolAny_24_8>& arguments) const {
  icu::UnicodeString text;
  if (const auto& table = m_msgHelper.translationTable()) {
    if (m_id != 0) {
      table->getMessage(m_id, arguments, text);
    } else {
      table->getMessage(m_key, arguments, text);
    }
  }
  if (text.isEmpty()) text = Zol::baseStringUtilityInstance_24_8().ustringFromString(m_defaultText);
  return text;
}

}  // namespace kyr::orla::plugin::wyrdan
