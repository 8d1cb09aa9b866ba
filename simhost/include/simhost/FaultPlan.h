/// \file
/// Fault injection: make a host operation fail, on every call or on the Nth,
/// chosen by the same patterns the journal matches; or run an action of the
/// test's inside the operation, as a host that delivers an event while it
/// handles a call.
///
/// \code
///   host.faults().inject(simhost::CallPattern::of<Zol::Framework::ZolIServiceProviderInterface>("getService")
///                            .with("Zol.EOM.EOMCore", ""),
///                        simhost::Fault::systemException("lookup failed"));
/// \endcode
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "simhost/CallJournal.h"
#include "simhost/SimHostExport.h"
#include "zol/kernel/ZolResult.h"

namespace simhost {

/// What an injected fault does to the call. Made by the factory functions
/// below; a plain value.
struct SIMHOST_EXPORT Fault {
  /// How the fault acts.
  enum class Kind {
    ErrorResult,       ///< the operation returns `code` and does nothing else
    KernelException,   ///< throws the kernel exception registered for `typeName`
    ForeignException,  ///< throws std::runtime_error, not of the kernel's family
    Callback,          ///< runs `action`, then the operation goes on as usual
  };

  /// How the fault acts.
  Kind kind = Kind::ErrorResult;
  /// The error result's code, or the exception's code.
  std::int32_t code = Zol::ZolResult_24_8::kFailure;
  /// The exception's text.
  std::string text;
  /// The dotted type name of the kernel exception to throw.
  std::string typeName;
  /// The callback's action.
  std::function<void()> action;

  /// The operation returns `code` (failure, 2147483647, unless given) and
  /// does nothing else.
  static Fault errorResult(std::int32_t code = Zol::ZolResult_24_8::kFailure);
  /// A Zol::ZolSystemException_24.
  static Fault systemException(std::string text, std::int32_t code = 1);
  /// A Zol::ZolUserException_24.
  static Fault userException(std::string text, std::int32_t code = 1);
  /// The exception the kernel's creator for `typeName` makes (a
  /// ZolUserException_24 when no creator is registered).
  static Fault typedException(std::string typeName, std::string text, std::int32_t code = 1);
  /// A std::runtime_error with `text`: an exception outside the kernel's family.
  static Fault foreignException(std::string text);
  /// Runs `action` on the calling thread, before the operation does anything;
  /// the operation then proceeds normally, or throws what `action` threw.
  /// `action` may make host calls and arm or clear faults; a callback on
  /// every call of an operation that its own action calls recurses.
  static Fault callback(std::function<void()> action);
};

/// The faults armed for one host. Thread-safe: the host's work thread
/// applies them too.
class SIMHOST_EXPORT FaultPlan {
 public:
  /// The `nthCall` that fires on every matching call.
  static constexpr int kEveryCall = 0;

  /// Arms `fault` for the calls `pattern` matches: on every call, or only on
  /// the `nthCall`-th matching call from now (1 = the next one). Faults
  /// armed earlier are looked at first.
  void inject(CallPattern pattern, Fault fault, int nthCall = kEveryCall);
  /// Arms `fault` for `operation` of the interface named `interfaceName`.
  void inject(std::string interfaceName, std::string operation, Fault fault, int nthCall = kEveryCall);
  /// Disarms every fault.
  void clear();
  /// True while at least one fault is armed.
  bool armed() const noexcept { return armed_.load(std::memory_order_acquire); }

  /// Called by simulated objects for each operation: throws an armed
  /// exception, or returns an armed error result; success otherwise. The
  /// first armed fault that fires decides (every matching fault counts the
  /// call all the same); a callback runs here, with the plan's lock released.
  /// A fault armed for the Nth call fires once.
  Zol::ZolResult_24_8 apply(const HostCall& call);

 private:
  struct Armed {
    CallPattern pattern;
    Fault fault;
    int nthCall;
    int seen = 0;
  };
  std::mutex mutex_;
  std::vector<Armed> faults_;
  std::atomic<bool> armed_{false};
};

}  // namespace simhost
