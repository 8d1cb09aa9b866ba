/// \class simhost::SimContext
/// What every simulated object of one host shares: the journal, the fault
/// plan, what the host could not take from the plug-in side, and the
/// dependency graph of its engineering objects.
///
/// \par Threads and exceptions
/// Its parts are thread-safe: the caller's thread and the host's work thread
/// use them alike. hostCall throws what a fault armed for the call throws
/// (an injected exception, or its callback's); the rest throws nothing but
/// std::bad_alloc.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "simhost/SimHostExport.h"
#include "simhost/services/eom/SimDependencyGraph.h"
#include "simhost/testbed/CallJournal.h"
#include "simhost/testbed/FaultPlan.h"
#include "simhost/testbed/HostFailures.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// One output argument of a host operation, as an answer writes it.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc. write() throws only what writing the value
/// throws (std::bad_alloc).
struct SIMHOST_EXPORT OutputSlot {
  /// Writes the value into the argument; false when it does not convert.
  std::function<bool(const AnswerValue&)> write;
  /// The argument's type, for messages.
  std::string typeLabel;

  /// The slot of `target`.
  template <class T>
  static OutputSlot of(T& target) {
    return OutputSlot{[&target](const AnswerValue& value) { return value.writeTo(target); },
                      simhost::typeLabel(typeid(T))};
  }
};

struct SIMHOST_EXPORT SimContext {
  /// How an operation replies when a fault or an answer decided.
  /// \ingroup simhost_testbed
  ///
  /// \par Threads and exceptions
  /// A plain value: any thread may read it while no thread changes it.
  /// Copying it throws only std::bad_alloc.
  struct Answered {
    /// The result the operation returns, without doing its work.
    Zol::ZolResult_24_8 result;
    /// The value a value-returning operation returns; empty: it goes on as
    /// usual (an error result means nothing to it).
    std::optional<AnswerValue> returned;
  };

  /// The record of every host operation called on this host's objects.
  CallJournal journal;
  /// The faults armed for this host's operations.
  FaultPlan faults;
  /// The payloads the host could not decode and the calls it refused.
  HostFailures failures;
  /// The dependency edges of this host's engineering objects.
  SimDependencyGraph dependencies;

  /// Whether a host call has to be rendered at all: the journal is enabled
  /// or a fault is armed.
  bool observing() const noexcept { return journal.enabled() || faults.armed(); }

  /// Journals one host operation, then acts on the fault or answer that
  /// fires for it: throws an injected exception; runs a callback and returns
  /// nothing (the operation goes on); returns an error result's code; or
  /// writes an answer's values into `outputs` (a value that does not fit is
  /// a "test bed" failure) and returns its code and return value. Nothing
  /// when neither fires. The call is journaled before anything fires, so a
  /// failed call is in the journal too.
  std::optional<Answered> hostCall(HostCall call, const std::vector<OutputSlot>& outputs);
};

/// The context as its objects share it: it lives while any of them does.
using SimContextPtr = std::shared_ptr<SimContext>;

/// @}

}  // namespace simhost
