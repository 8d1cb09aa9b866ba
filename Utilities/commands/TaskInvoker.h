/// \class kyr::orla::plugin::wyrdan::TaskInvoker
/// \ingroup wyrdan_commands
/// A one-shot host invoker around a function. The host receives it through a
/// GUI action's payload and calls invoke() on a thread of its choosing; the
/// function runs then, once.
///
/// \par Threads and exceptions
/// Thread-safe: the reference count is atomic, and invoke() may be called on
/// any thread (calls racing on several threads run the function once).
/// invoke() lets the function's exception pass to its caller; construction
/// throws only std::bad_alloc.
///
/// \code
///   ZolSmartPointer<kyr::orla::appfw::ZolIInvokerInterface> invoker(new TaskInvoker([] { rebuild(); }));
///   payload.setData("invoker", invoker);  // the host's references keep it alive
/// \endcode
///
/// A host service object, held by ZolSmartPointer (\ref sdk): it destroys
/// itself (and the function, if it never ran) when the last reference goes,
/// on whichever thread releases it.
#pragma once

#include <atomic>
#include <functional>

#include "WyrdanPluginUtilities/WyrdanExport.h"
#include "kyr/appfw/ZolIInvoker.h"
#include "zol/framework/ZolServiceObject.h"

namespace kyr::orla::plugin::wyrdan {

/// The service name of every TaskInvoker.
/// \ingroup wyrdan_commands
inline constexpr char TASK_INVOKER_NAME[] = "TASK_INVOKER_NAME";

class WYRDAN_EXPORT TaskInvoker
    : public Zol::Framework::ZolServiceObjectImpl1<ZolSmartPointer<kyr::orla::appfw::ZolIInvokerInterface>,
                                                   TASK_INVOKER_NAME> {
 public:
  /// Takes `function` over. The object starts without a reference: hand it
  /// to a ZolSmartPointer at once. Its service id comes from the kernel's
  /// service manager (1 without one).
  explicit TaskInvoker(std::function<void()>&& function);

  /// The first call runs the function on the calling thread, destroys it and
  /// returns success (code 0). Every later call, and a call on an invoker
  /// made from an empty function, runs nothing and returns failure (code
  /// 2147483647). Calls racing on several threads run the function once.
  /// The function's exception passes to the caller; the invoker is used up
  /// all the same.
  Zol::ZolResult_24_8 invoke() override;

 protected:
  /// Only the release of the last reference destroys it.
  ~TaskInvoker() override;

 private:
  std::atomic<bool> m_used{false};
  std::function<void()> m_function;
};

}  // namespace kyr::orla::plugin::wyrdan
