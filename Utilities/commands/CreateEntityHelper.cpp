#include "WyrdanPluginUtilities/commands/CreateEntityHelper.h"

namespace kyr::orla::plugin::wyrdan {

CreateEntityHelper::CreateEntityHelper(std::string const& name) : m_name(name) {}

CreateEntityHelper::CreateEntityHelper(CreateEntityHelper const& other) = default;
CreateEntityHelper::CreateEntityHelper(CreateEntityHelper&& other) noexcept = default;
CreateEntityHelper& CreateEntityHelper::operator=(CreateEntityHelper const& other) = default;
CreateEntityHelper& CreateEntityHelper::operator=(CreateEntityHelper&& other) noexcept {
  if (this != &other) m_name = std::move(other.m_name);
  return *this;
}
CreateEntityHelper::~CreateEntityHelper() = default;

}  // namespace kyr::orla::plugin::wyrdan
