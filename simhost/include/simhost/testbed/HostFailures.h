/// \class simhost::HostFailures
/// What the host could not take from the plug-in side: a payload it could
/// not decode (not of the type the host expects, a key missing, a value of
/// another type or with bytes left over), a call it refused (an empty entity
/// in a list, a command's parameter of the wrong type). A real host would
/// misbehave or crash there; the simulated one records each, so a test sees
/// exactly what a plug-in sent wrong. One list per host (SimHost::failures()).
///
/// \par Threads and exceptions
/// Thread-safe: the host's work thread records too. Its members throw
/// nothing but std::bad_alloc.
///
/// \code
///   host.failures().expect("ShowStatusMessage");  // this test sends a bad message on purpose
///   ...
///   EXPECT_EQ(host.failures().report(), "");      // what the test did not expect, one per line
/// \endcode
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "simhost/SimHostExport.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

class SIMHOST_EXPORT HostFailures {
 public:
  /// One thing the host could not take.
  /// \ingroup simhost_testbed
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct SIMHOST_EXPORT Failure {
    /// What refused it: "GUI action <name>", "command <context>.<name>",
    /// "model browser tab <domain>", "status bar", "root manager", ...
    std::string source;
    /// Why, in the host's words.
    std::string reason;
    /// "<source>: <reason>".
    std::string text() const;
  };

  /// Appends a failure.
  void record(std::string source, std::string reason);
  /// Declares failures whose text() contains `text` expected: unexpected()
  /// and report() leave them out. Expectations stay until clear().
  void expect(std::string text);
  /// Drops every failure and every expectation.
  void clear();

  /// Every failure, oldest first, expected ones included.
  std::vector<Failure> all() const;
  /// The failures no expectation covers, oldest first.
  std::vector<Failure> unexpected() const;
  /// unexpected() as text, one failure per line; empty when there is none.
  std::string report() const;

 private:
  bool isExpected(const Failure& failure) const;

  mutable std::mutex mutex_;
  std::vector<Failure> failures_;
  std::vector<std::string> expected_;
};

/// @}

}  // namespace simhost
