/// \class simhost::SimStatusBar
/// The simulated status bar: the messages the plug-in posts through its GUI
/// action "KYR.WyrdanPlugin.ShowStatusMessage", decoded from the payload (a
/// command-parameter list in its any-form with a 32-bit "severity" and a
/// Unicode "message").
///
/// \par Threads and exceptions
/// Thread-safe. Not a host object: nothing here is journaled, and its
/// members throw nothing but std::bad_alloc (a payload it cannot decode is
/// recorded, not thrown).
///
/// \code
///   ... plug-in code posts "Meshing done" as information ...
///   EXPECT_EQ(host.statusBar().messages().back().text, u"Meshing done");
/// \endcode
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <unicode/unistr.h>

#include "simhost/SimHostExport.h"
#include "simhost/testbed/HostFailures.h"
#include "zol/kernel/ZolAny.h"

namespace simhost {

/// \addtogroup simhost_host
/// @{

class SIMHOST_EXPORT SimStatusBar {
 public:
  /// The GUI action whose payloads the status bar shows.
  static constexpr const char* kAction = "KYR.WyrdanPlugin.ShowStatusMessage";

  /// One message shown.
  /// \ingroup simhost_host
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Message {
    /// The message's text.
    icu::UnicodeString text;
    /// Its severity, as posted.
    std::int32_t severity;
  };

  /// A status bar recording what it cannot show in `failures`, which must
  /// outlive it.
  explicit SimStatusBar(HostFailures& failures);
  /// Not copyable: it is the host's one status bar.
  SimStatusBar(const SimStatusBar&) = delete;
  /// Not assignable, for the same reason.
  SimStatusBar& operator=(const SimStatusBar&) = delete;

  /// Decodes one posted payload and shows its message. A payload it cannot
  /// decode (no list, a malformed stream, "severity" or "message" missing or
  /// of another type) shows nothing; errors() says why, and it is a host
  /// failure. Never throws but std::bad_alloc. When an entry is repeated,
  /// the last one counts.
  void post(const Zol::ZolAny_24_8& payload);

  /// The messages shown, oldest first.
  std::vector<Message> messages() const;
  /// One line per payload that could not be decoded, oldest first.
  std::vector<std::string> errors() const;
  /// Forgets the messages and the errors.
  void clear();

 private:
  HostFailures& failures_;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
  std::vector<std::string> errors_;
};

/// @}

}  // namespace simhost
