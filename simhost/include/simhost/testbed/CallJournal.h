/// \file
/// The call journal: one record per host operation the plug-in side called,
/// in call order, with the object it was called on, so tests can assert which
/// host calls were made, on what, with what, and in what order. CallPattern
/// names the calls a test means, by interface descriptor, operation, object
/// and typed arguments; the fault plan uses the same patterns.
///
/// \code
///   using Provider = Zol::Framework::ZolIServiceProviderInterface;
///   EXPECT_EQ(host.journal().count(simhost::CallPattern::of<Provider>("getService").with("Zol.EOM.EOMCore", "")), 1u);
///   EXPECT_EQ(host.journal().count(simhost::CallPattern::of<IEntityInterface>("setAttribute").on(plate)), 1u);
/// \endcode
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simhost/SimHostExport.h"
#include "simhost/testbed/ArgumentText.h"
#include "simhost/testbed/Payload.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// One journaled host operation: which interface and operation, with what,
/// on which object.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc. payload() throws std::invalid_argument for
/// a payload the call does not have.
struct SIMHOST_EXPORT HostCall {
  std::string interfaceName;  ///< dotted type name of the interface called
  /// The operation's name, as the interface spells it.
  std::string operation;
  std::vector<std::string> arguments;  ///< each input argument as argumentText() renders it
  std::string objectName;              ///< service name of the object called
  std::uint64_t objectId = 0;          ///< service id of the object called; 0 for none
  /// The decoded view of each any-valued input argument, in order: an
  /// any-value, an event's payload, a command's parameter list.
  std::vector<Payload> payloads;

  /// payloads[index]. Throws std::invalid_argument, naming the call, when
  /// the call has no such payload.
  const Payload& payload(std::size_t index = 0) const;

  /// The arguments, comma separated.
  std::string argumentList() const;
  /// "interface.operation(arguments) on name #id"; without " on ..." when the
  /// object id is 0.
  std::string toString() const;
};

/// Which host calls a test means. Unset parts match every call. The
/// refining members change the pattern and return it, so they chain.
///
/// \par Threads and exceptions
/// A plain value: one thread builds it, then any thread may match with it.
/// Its members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT CallPattern {
 public:
  /// Calls of `operation` (of every operation, when empty) of the interface
  /// named `interfaceName`.
  CallPattern(std::string interfaceName, std::string operation = {});
  /// Calls of `operation` of interface `I`, named by its descriptor.
  template <class I>
  static CallPattern of(std::string operation = {}) {
    return CallPattern(I::descriptor.typeName, std::move(operation));
  }

  /// Only calls with exactly these arguments, rendered by argumentText()
  /// (all of them, in order). Replaces arguments set before.
  template <class... A>
  CallPattern& with(const A&... arguments) {
    arguments_ = std::vector<std::string>{argumentText(arguments)...};
    return *this;
  }
  /// Only calls on the object with this service id.
  CallPattern& on(std::uint64_t objectId);
  /// Only calls on `object` (by its service id; an empty pointer means id 0,
  /// the calls made on no object).
  template <class I>
  CallPattern& on(const ZolSmartPointer<I>& object) {
    return on(object ? object->getServiceId() : 0);
  }
  /// Only calls whose argument list (HostCall::argumentList) contains `text`;
  /// empty matches every call.
  CallPattern& containing(std::string text);

  /// True when `call` is of the interface (exact name) and, where set, of
  /// the operation, on the object, with the arguments and containing the text.
  bool matches(const HostCall& call) const;

  /// The pattern as text, in HostCall::toString()'s form with what is unset
  /// left open: "interface.operation(arguments) on #id containing \"text\"";
  /// "*" for any operation, "(...)" for any arguments, and no " on" or
  /// " containing" part when those are unset. For test failure messages.
  std::string toString() const;

 private:
  std::string interfaceName_;
  std::string operation_;
  std::optional<std::vector<std::string>> arguments_;
  std::optional<std::uint64_t> objectId_;
  std::string containing_;
};

/// The records of one host's calls, oldest first.
///
/// \par Threads and exceptions
/// Thread-safe: the host's work thread records too. Its members throw nothing
/// but std::bad_alloc.
class SIMHOST_EXPORT CallJournal {
 public:
  /// Appends `call`, unless the journal is disabled.
  void record(HostCall call);
  /// Drops every record; enabled stays as it is.
  void clear();

  /// A disabled journal records nothing (benchmarks switch it off).
  void setEnabled(bool enabled) noexcept { enabled_.store(enabled, std::memory_order_relaxed); }
  /// True while the journal records (at first).
  bool enabled() const noexcept { return enabled_.load(std::memory_order_relaxed); }

  /// A snapshot of every record, oldest first.
  std::vector<HostCall> calls() const;
  /// The records `pattern` matches, oldest first.
  std::vector<HostCall> calls(const CallPattern& pattern) const;
  /// How many records `pattern` matches.
  std::size_t count(const CallPattern& pattern) const;
  /// Records of one interface (and one operation, unless empty), oldest first.
  std::vector<HostCall> callsTo(std::string_view interfaceName, std::string_view operation = {}) const;
  /// How many records callsTo(interfaceName, operation) gives.
  std::size_t count(std::string_view interfaceName, std::string_view operation = {}) const;
  /// How many records the journal holds.
  std::size_t size() const;

 private:
  mutable std::mutex mutex_;
  std::vector<HostCall> calls_;
  std::atomic<bool> enabled_{true};
};

/// @}

}  // namespace simhost
