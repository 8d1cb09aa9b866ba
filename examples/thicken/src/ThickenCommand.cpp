#include "ThickenCommand.h"

#include <WyrdanPluginUtilities/commands/DataBunch.h>
#include <WyrdanPluginUtilities/commands/EditEntityHelper.h>
#include <WyrdanPluginUtilities/diagnostics/LogHelper.h>
#include <WyrdanPluginUtilities/entities/BrowserHelper.h>
#include <unicode/unistr.h>

namespace thicken {

namespace wyrdan = kyr::orla::plugin::wyrdan;

namespace {

// Log levels, as the host's logger reads them.
constexpr int kInfo = 1;
constexpr int kWarning = 2;

}  // namespace

std::size_t ThickenCommand::run(double millimetres) const {
  wyrdan::LogHelper& log = *wyrdan::LogHelper::instance();
  if (!(millimetres > 0)) {
    log.logMessage(kWarning, "thicken: %g mm is no thickness", millimetres);
    return 0;
  }
  const kyr::orla::appfw::IEntities plates = selectedPlates();
  if (plates.empty()) {
    log.logMessage(kWarning, "thicken: no plate selected");
    return 0;
  }

  wyrdan::EditEntityHelper(plates).setProperties(wyrdan::DataBunch{{"thickness", Zol::makeZolAny(millimetres)}});
  wyrdan::BrowserHelper().updateNodes(plates);
  log.logMessage(kInfo, "thicken: %zu plates now %g mm thick", plates.size(), millimetres);
  return plates.size();
}

kyr::orla::appfw::IEntities ThickenCommand::selectedPlates() const {
  kyr::orla::appfw::IEntities plates;
  for (const auto& entity : selection_.selection()) {
    icu::UnicodeString typeName;
    if (entity->getTypeName(typeName).isOk() && typeName == u"Plate") plates.push_back(entity);
  }
  return plates;
}

}  // namespace thicken
