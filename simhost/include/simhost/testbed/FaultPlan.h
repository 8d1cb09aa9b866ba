/// \file
/// Fault injection and answers: make a host operation fail, on every call or
/// on the Nth, chosen by the same patterns the journal matches; run an
/// action of the test's inside the operation, as a host that delivers an
/// event while it handles a call; or make it reply with a chosen result and
/// chosen outputs instead of doing its work (Answer.h), once, n times or
/// always.
///
/// \code
///   host.faults().inject(simhost::CallPattern::of<Zol::Framework::ZolIServiceProviderInterface>("getService")
///                            .with("Zol.EOM.EOMCore", ""),
///                        simhost::Fault::systemException("lookup failed"));
///   host.faults().answer(simhost::CallPattern::of<Zol::Framework::ZolIEventManagerInterface>("lookUpDomainId"),
///                        simhost::Answer::failure().writing(97), 1);
/// \endcode
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "simhost/SimHostExport.h"
#include "simhost/testbed/Answer.h"
#include "simhost/testbed/CallJournal.h"
#include "zol/kernel/ZolResult.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// What an injected fault does to the call. Made by the factory functions
/// below.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc. The action of a callback fault runs inside
/// the faulted operation, on the calling thread, and its exception passes out
/// of that operation.
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

/// The faults armed for one host.
///
/// \par Threads and exceptions
/// Thread-safe: the host's work thread applies the faults too. Its members
/// throw nothing but std::bad_alloc; what a fault throws comes out of the
/// faulted operation.
class SIMHOST_EXPORT FaultPlan {
 public:
  /// The `nthCall` that fires on every matching call.
  static constexpr int kEveryCall = 0;
  /// The `times` that answers every matching call.
  static constexpr int kAlways = 0;
  /// What fires for one call: a fault or an answer.
  using Action = std::variant<Fault, Answer>;

  /// Arms `fault` for the calls `pattern` matches: on every call, or only on
  /// the `nthCall`-th matching call from now (1 = the next one). Faults
  /// armed earlier are looked at first.
  void inject(CallPattern pattern, Fault fault, int nthCall = kEveryCall);
  /// Arms `fault` for `operation` of the interface named `interfaceName`.
  void inject(std::string interfaceName, std::string operation, Fault fault, int nthCall = kEveryCall);
  /// Makes the next `times` calls `pattern` matches (every one from now,
  /// with kAlways) reply `answer` instead of doing their work. Looked at in
  /// arming order with the faults; a call an earlier fault or answer takes
  /// does not count, so answers armed one after another reply in turn.
  void answer(CallPattern pattern, Answer answer, int times = kAlways);
  /// Disarms every fault.
  void clear();
  /// True while at least one fault is armed.
  bool armed() const noexcept { return armed_.load(std::memory_order_acquire); }

  /// What fires for `call`: the first armed fault or answer that does;
  /// nothing when none does. Every matching fault counts the call, and one
  /// armed for the Nth call fires once; an answer armed for n calls fires on
  /// the next n it is reached for. SimContext::hostCall acts on it.
  std::optional<Action> fire(const HostCall& call);

 private:
  struct Armed {
    CallPattern pattern;
    Action action;
    int nth;       // a fault's call to fire on, an answer's number of calls; 0: every call
    int seen = 0;  // the matching calls a fault saw, the calls an answer answered
  };
  std::mutex mutex_;
  std::vector<Armed> faults_;
  std::atomic<bool> armed_{false};
};

/// @}

}  // namespace simhost
