// The GUI executive: runs named GUI actions with an any-value payload, owns
// the channel of GUI events, and shows modal message boxes.
#pragma once

#include <cstdint>
#include <string>

#include <unicode/unistr.h>

#include "zol/kernel/ZolAny.h"

namespace kyr::orla::appfw {

/// Offered by the "kyr.orla.appfw.GuiExecutive" service ("kyr.orla.appfw.ZolIGuiExecutive").
class ZolIGuiExecutiveInterface : public Zol::ZolIServiceInterface {
 public:
  static constexpr Zol::ZolInterfaceDescriptor descriptor{"kyr.orla.appfw.ZolIGuiExecutive"};
  /// Runs the GUI action `name` with `payload`; returns the action's answer,
  /// holding nothing when the action has none or is unknown.
  virtual Zol::ZolAny_24_8 runGuiAction(const std::string& name, const Zol::ZolAny_24_8& payload) = 0;
  /// Writes the id of the event channel on which the GUI publishes its events.
  virtual Zol::ZolResult_24_8 getGuiChannelId(std::int64_t& id) = 0;
  /// Shows a message box titled `caption` with `message` and one button
  /// labelled `buttonText`; `informativeText` and `detailedText` (either may
  /// be empty) are shown beneath the message and behind a details button.
  /// A `modal` box returns when the user has closed it; the result tells how.
  virtual Zol::ZolResult_24_8 showModalMessageBox(const icu::UnicodeString& caption, const icu::UnicodeString& message,
                                                  const icu::UnicodeString& buttonText,
                                                  const icu::UnicodeString& informativeText,
                                                  const icu::UnicodeString& detailedText, bool modal) = 0;
};

}  // namespace kyr::orla::appfw
