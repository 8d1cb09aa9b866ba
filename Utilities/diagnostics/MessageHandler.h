/// \class kyr::orla::plugin::wyrdan::MessageHandler
/// \ingroup wyrdan_diagnostics
/// Shows text to the user through the host. A status-bar message goes to the
/// GUI executive as the plug-in's GUI action
/// "KYR.WyrdanPlugin.ShowStatusMessage"; showMessage asks the host's
/// framework access; showPopMessage opens a modal message box with a caption
/// chosen by the severity and an "OK" button, both from the plug-in's texts
/// (LocalStr).
///
/// \par Threads and exceptions
/// postStatusMessage and showPopMessage reach the service cache
/// (ServiceHelper), which serves several threads; showPopMessage also reads
/// the plug-in's texts (LocalStr), which serve one thread at a time, so
/// callers on several threads serialise it. showMessage reaches only the
/// host's framework access. Host exceptions pass to the caller; showPopMessage
/// throws Zol::ZolSystemException_24 when a service lacks its interface.
///
/// \code
///   MessageHandler::postStatusMessage(u"Meshing done", kyr::orla::appfw::SeverityInfo);
///   MessageHandler::showPopMessage(u"No material on plate 3", kyr::orla::appfw::SeverityError, {}, {}, {});
/// \endcode
///
/// Static only. Severities other than the four of kyr::orla::appfw::Severity
/// (0 to 3) are refused: nothing is shown. Host results are not examined
/// except where a member says so.
#pragma once

#include <unicode/unistr.h>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/IFrameworkAccess.h"
#include "zol/kernel/ZolResult.h"

namespace kyr::orla::plugin::wyrdan {

class WYRDAN_EXPORT MessageHandler {
 public:
  /// Posts `message` with `severity` to the status bar: runs the GUI action
  /// "KYR.WyrdanPlugin.ShowStatusMessage" with a DataBunch of "severity"
  /// (32-bit integer) and "message" (Unicode string) in its any-form; the
  /// action's answer is dropped. Does nothing without a GUI executive
  /// (ServiceHelper::getGuiExeutive), or when that service lacks the GUI
  /// executive interface (no exception here, unlike showPopMessage).
  static void postStatusMessage(const icu::UnicodeString& message, kyr::orla::appfw::Severity severity);

  /// Asks the host's framework access (ServiceCacheAppFrame::frameworkAccess_)
  /// to show `result` with `severity`, in full when `details` is set. Does
  /// nothing when the host has not set its framework access. Host exceptions
  /// pass to the caller.
  static void showMessage(const Zol::ZolResult_24_8& result, kyr::orla::appfw::Severity severity, bool details);
  /// The same for a text; `details` does not reach the host. Host
  /// exceptions pass to the caller.
  static void showMessage(const icu::UnicodeString& text, kyr::orla::appfw::Severity severity, bool details);

  /// Opens a modal message box with `message` and returns the host's
  /// result. The caption is `caption`, or when empty the plug-in's text
  /// "UITEXT_Debug", "UITEXT_Info", "UITEXT_Warning" or "UITEXT_Error" by
  /// severity (translated in either case, so the table's exceptions pass
  /// whether or not a caption is given); the button reads `button`, or when empty the text
  /// "UITEXT_OK"; `extra` is passed as both the informative and the
  /// detailed text. In batch mode (the application executive's
  /// isBatchMode) nothing is shown and the result is success, with or
  /// without a GUI executive. Otherwise, without a GUI executive or
  /// application executive (ServiceHelper::getFrameworkAccess), or for a
  /// severity outside 0 to 3 (then before any text is translated), nothing is
  /// shown and the result is failure (2147483647). Throws
  /// Zol::ZolSystemException_24 when either service lacks its interface;
  /// other host exceptions pass too.
  static Zol::ZolResult_24_8 showPopMessage(const icu::UnicodeString& message, kyr::orla::appfw::Severity severity,
                                            const icu::UnicodeString& button, const icu::UnicodeString& extra,
                                            const icu::UnicodeString& caption);

 private:
  MessageHandler() = default;
  ~MessageHandler() = default;
};

}  // namespace kyr::orla::plugin::wyrdan
