#include "WyrdanPluginUtilities/commands/DataBunch.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

namespace kyr::orla::plugin::wyrdan {

namespace {

// The host's type code of the command-parameter list, found by its fixed id
// once; setData() refuses it loudly should the id be unregistered.
const Zol::ZolTypeCode_24_8& cmdParametersTypeCode() {
  static const Zol::ZolTypeCode_24_8 typeCode = Zol::getCachedTypeCodeInit_24_8(appfw::kCmdParametersTypeId);
  return typeCode;
}

}  // namespace

DataBunch::DataBunch() = default;

DataBunch::DataBunch(std::initializer_list<BunchItem> const& items) {
  for (const BunchItem& item : items) insert(std::string(item.key), Zol::ZolAny_24_8(item.value));
}

DataBunch::DataBunch(appfw::CmdParameters const& params) {
  for (const appfw::CmdParameter& param : params) insert(std::string(param.name), Zol::ZolAny_24_8(param.value));
}

DataBunch::DataBunch(Zol::ZolAny_24_8 const& any) {
  if (!appfw::holdsCmdParameters(any)) return;
  Zol::ZolInStream_24_8 in = any.openStream();
  std::uint32_t count = 0;
  Zol::marshaller_extract(in, count);
  for (std::uint32_t i = 0; i < count; ++i) {
    // Each value is read straight into its entry; a repeated name finds its
    // entry and overwrites the value, so the last one is kept.
    const std::string_view name = appfw::unmarshalCmdParameterName(in);
    const auto entry = m_data.emplace_hint(m_data.end(), std::piecewise_construct, std::forward_as_tuple(name),
                                           std::forward_as_tuple());
    Zol::marshaller_extract(in, entry->second);
  }
  in.expectEnd();
}

DataBunch::DataBunch(DataBunch const& other) = default;
DataBunch::DataBunch(DataBunch&& other) noexcept = default;

DataBunch& DataBunch::operator=(DataBunch const& other) {
  if (this != &other) m_data = other.m_data;
  return *this;
}

DataBunch& DataBunch::operator=(DataBunch&& other) noexcept {
  if (this != &other) {
    m_data.clear();
    m_data.swap(other.m_data);
  }
  return *this;
}
DataBunch::~DataBunch() = default;

bool DataBunch::empty() const { return m_data.empty(); }

bool DataBunch::hasData(std::string const& key) const { return m_data.find(key) != m_data.end(); }

bool DataBunch::queryData(std::string const& key, Zol::ZolAny_24_8& value) const {
  auto it = m_data.find(key);
  if (it == m_data.end()) return false;
  value = it->second;
  return true;
}

void DataBunch::remove(std::string const& key) { m_data.erase(key); }

void DataBunch::clear() { m_data.clear(); }

DataBunch::iterator DataBunch::begin() { return m_data.begin(); }
DataBunch::iterator DataBunch::end() { return m_data.end(); }
DataBunch::const_iterator DataBunch::begin() const { return m_data.begin(); }
DataBunch::const_iterator DataBunch::end() const { return m_data.end(); }

appfw::CmdParameters DataBunch::toCmdParams() const {
  appfw::CmdParameters params;
  if (!m_data.empty()) params.reserve(m_data.size());
  for (const auto& [key, value] : m_data) params.push_back(appfw::CmdParameter{key, value});
  return params;
}

// Writes the entries straight from the map: the same stream as marshalling
// the list toCmdParams() would build, without the intermediate copies, each
// entry in a few plain copies into a stream sized once.
Zol::ZolAny_24_8 DataBunch::toZolAny() const {
  Zol::ZolAny_24_8 any;
  Zol::ZolOutStream_24_8 out = any.initializeStream();
  appfw::marshalCmdParameterList(out, m_data);
  any.setData(cmdParametersTypeCode());
  return any;
}

void DataBunch::insert(std::string&& key, Zol::ZolAny_24_8&& value) {
  // The end as the hint: a key arriving in order (as every list made by a
  // bunch does) is compared with the last key only, and appends; others,
  // repeated keys included, take the general path. The value is assigned to
  // the entry, new or found, so that a repeated key keeps the last.
  const auto entry = m_data.emplace_hint(m_data.end(), std::piecewise_construct, std::forward_as_tuple(std::move(key)),
                                         std::forward_as_tuple());
  entry->second = std::move(value);
}

}  // namespace kyr::orla::plugin::wyrdan
