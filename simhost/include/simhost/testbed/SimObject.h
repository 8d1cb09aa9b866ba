/// \file
/// The base of every simulated host object: reference counting with
/// accounting, the query-interface table, and journaled, fault-injectable
/// host operations. A simulated service is a short class:
///
/// \code
///   class SimTrashBin : public simhost::SimObject<kyr::orla::appfw::ZolITrashBinInterface> {
///    public:
///     using SimObject::SimObject;
///   };
///   auto bin = simhost::makeSimObject<SimTrashBin>(context, "trash bin");
/// \endcode
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "simhost/SimHostExport.h"
#include "simhost/testbed/SimContext.h"
#include "zol/kernel/ZolHoldings.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// An operation's output argument, as SimObject::call takes it.
///
/// \par Threads and exceptions
/// A plain value holding a pointer: any thread; never throws.
template <class T>
struct Output {
  /// The argument.
  T* target;
};
/// `target` as an output argument of SimObject::call.
template <class T>
Output<T> out(T& target) {
  return Output<T>{&target};
}
/// Whether T is an output argument.
///
/// \par Threads and exceptions
/// A compile-time trait: nothing of it runs, nothing throws.
template <class T>
struct IsOutput : std::false_type {};
/// An Output is.
///
/// \par Threads and exceptions
/// A compile-time trait: nothing of it runs, nothing throws.
template <class T>
struct IsOutput<Output<T>> : std::true_type {};

/// What every simulated object has, whatever interfaces it offers: the
/// shared context (journal, faults), a service name and id, an atomic
/// reference count and an entry in ObjectAccounting while it lives.
///
/// \par Threads and exceptions
/// Thread-safe. hostCall throws what a fault armed for the operation throws;
/// the other members throw nothing but std::bad_alloc.
class SIMHOST_EXPORT SimObjectBase {
 public:
  /// An object of `context` named `serviceName`, with no reference yet (see
  /// makeSimObject). Its service id comes from the kernel's service manager;
  /// it is counted by ObjectAccounting until destroyed.
  SimObjectBase(SimContextPtr context, std::string serviceName);
  /// Not copyable: each simulated object is one host object, counted once.
  SimObjectBase(const SimObjectBase&) = delete;
  /// Not assignable, for the same reason.
  SimObjectBase& operator=(const SimObjectBase&) = delete;
  /// Leaves ObjectAccounting. Only the release of the last reference
  /// destroys a simulated object.
  virtual ~SimObjectBase();

  /// The references held now; reading it makes no host call and is not journaled.
  std::uint32_t referenceCount() const noexcept { return references_.load(std::memory_order_acquire); }
  /// The name given at construction, which getServiceName answers.
  const std::string& serviceName() const noexcept { return serviceName_; }
  /// The id getServiceId answers: the one the kernel's service manager
  /// allocated, until a test chooses another.
  std::uint64_t serviceId() const noexcept { return serviceId_.load(std::memory_order_acquire); }
  /// Makes the object answer `id` as its service id from now on, and be
  /// journaled under it (a test that needs two objects to share an id, or a
  /// particular one).
  void setServiceId(std::uint64_t id) noexcept { serviceId_.store(id, std::memory_order_release); }

  /// Makes queryInterface answer `status` for `typeId` instead of its usual
  /// answer (1 hides an interface; 2-4 and others simulate bridge failures).
  /// 0 restores the usual answer. Applies to later queries, on any thread.
  void setQueryStatus(const Zol::ZolTypeId& typeId, std::int32_t status);

  /// Names in `held` each reference this object keeps to another object (an
  /// entity's to its model), for the accounting: what an object held on
  /// purpose keeps alive is held on purpose too (ObjectAccounting). Nothing
  /// unless a derived class says otherwise.
  virtual void reportHoldings(Zol::ZolHeldReferences& held) const;
  /// What a payload that carries this object shows of it besides its name
  /// and id, for an object that lists values (an entity-reference list):
  /// its fields, read when the journal decodes the payload, without
  /// journaling. None unless a derived class says otherwise.
  virtual std::vector<Payload::Field> payloadFields() const;

 protected:
  /// Adds a reference.
  void addRef() noexcept { references_.fetch_add(1, std::memory_order_relaxed); }
  /// True when the last reference went.
  bool releaseRef() noexcept { return references_.fetch_sub(1, std::memory_order_acq_rel) == 1; }
  /// The injected status for `typeId`, or 0 when none is set.
  std::int32_t queryStatusOverride(const Zol::ZolTypeId& typeId) const;

  /// Journals one host operation on this object and acts on the fault or
  /// answer that fires for it. Thread-safe; see SimContext::hostCall.
  std::optional<SimContext::Answered> hostCall(const char* interfaceName, const char* operation,
                                               std::vector<std::string> arguments, std::vector<Payload> payloads,
                                               const std::vector<OutputSlot>& outputs) const;
  /// Records a "test bed" failure: an answer's return value that does not
  /// fit `operation`'s return type.
  void recordUnfitReturn(const char* interfaceName, const char* operation, const AnswerValue& value,
                         const std::string& returnType) const;

  /// The context shared by every object of this host.
  const SimContextPtr& context() const noexcept { return context_; }

 private:
  SimContextPtr context_;
  std::string serviceName_;
  std::atomic<std::uint64_t> serviceId_{1};
  std::atomic<std::uint32_t> references_{0};
  mutable std::mutex statusMutex_;
  std::map<Zol::ZolTypeId, std::int32_t> queryStatus_;
};

/// The interface a base class of a simulated object answers for: the class
/// itself, or `I::facet_of` for a facet, a class that implements some members
/// of that interface under other names. An object that offers two interfaces
/// with members of one signature (IEntity's and IEOMObject's getName) needs
/// facets, since one member of the object would otherwise answer both.
///
/// \par Threads and exceptions
/// A compile-time trait: nothing of it runs, nothing throws.
template <class I, class = void>
struct FacetInterface {
  /// `I` itself.
  using type = I;
};
/// A facet answers for the interface it implements members of.
///
/// \par Threads and exceptions
/// A compile-time trait: nothing of it runs, nothing throws.
template <class I>
struct FacetInterface<I, std::void_t<typename I::facet_of>> {
  /// `I::facet_of`.
  using type = typename I::facet_of;
};

/// A simulated object implementing `Primary` and `Others` (interfaces, or
/// facets of them). Its "Zol.ZolIService" identity is the `Primary` interface.
/// Reference counting and interface queries are not journaled; the
/// operations a derived class implements journal themselves through call().
///
/// \par Threads and exceptions
/// Thread-safe. Reference counting and interface queries never throw; the
/// operations a derived class implements throw, through call(), what a fault
/// armed for them throws.
template <class Primary, class... Others>
class SimObject : public SimObjectBase, public Primary, public Others... {
 public:
  using SimObjectBase::SimObjectBase;

  /// Adds a reference; not journaled.
  void addReference() noexcept override { addRef(); }
  /// Releases a reference; the last one destroys the object. Not journaled.
  void releaseReference() noexcept override {
    if (releaseRef()) delete this;
  }

  /// The object as the interface `id` names, with a reference added:
  /// "Zol.ZolIService" (the Primary identity), `Primary`, `Others` and the
  /// interfaces they extend. Any other id gives null and status 1; a status
  /// set with setQueryStatus gives null and that status. Not journaled, no
  /// faults.
  Zol::ZolResult_24_8 queryInterface(const Zol::ZolTypeId& id, void** out) noexcept override {
    *out = nullptr;
    if (const std::int32_t status = queryStatusOverride(id)) return Zol::ZolResult_24_8(status);
    if (id == Zol::ZolIServiceInterface::descriptor.typeId) {
      *out = static_cast<Zol::ZolIServiceInterface*>(static_cast<Primary*>(this));
    } else if (!(offer<Primary>(id, out) || (offer<Others>(id, out) || ...))) {
      return Zol::ZolResult_24_8(Zol::kQueryNoInterface);
    }
    addRef();
    return {};
  }

  /// serviceName(); not journaled.
  std::string getServiceName() const override { return serviceName(); }
  /// serviceId(); not journaled.
  std::uint64_t getServiceId() const noexcept override { return serviceId(); }

  /// This object as a generic service handle (its Primary identity).
  Zol::ZolIService asService() { return Zol::ZolIService(static_cast<Primary*>(this)); }
  /// The pointer asService() holds, for identity comparisons.
  const Zol::ZolIServiceInterface* identity() const noexcept { return static_cast<const Primary*>(this); }

 protected:
  /// Journals one operation of interface `I` with its arguments and acts on
  /// the fault or answer that fires for it (see SimContext::hostCall). The
  /// operation's output arguments are passed wrapped in out(), in order, so
  /// that an answer can write them; the others are its inputs, journaled as
  /// text. Returns the result the operation then returns without doing its
  /// work; nothing when it goes on as usual. The arguments are only rendered
  /// while the journal or a fault is watching; otherwise it returns at once.
  ///
  ///   if (auto answered = call("lookUpDomainId", name, out(id))) return *answered;
  template <class I = Primary, class... A>
  std::optional<Zol::ZolResult_24_8> call(const char* operation, const A&... arguments) const {
    auto answered = callAnswered<I>(operation, arguments...);
    if (!answered) return std::nullopt;
    return answered->result;
  }
  /// As call(), for an operation that returns an R instead of a result
  /// (a comparison, a hash, an iterator's step): the value an answer
  /// returns; nothing when it goes on as usual (also for an error result,
  /// which it cannot return).
  template <class R, class I = Primary, class... A>
  std::optional<R> callReturning(const char* operation, const A&... arguments) const {
    auto answered = callAnswered<I>(operation, arguments...);
    if (!answered || !answered->returned) return std::nullopt;
    R value{};
    if (answered->returned->writeTo(value)) return value;
    recordUnfitReturn(I::descriptor.typeName, operation, *answered->returned, simhost::typeLabel(typeid(R)));
    return std::nullopt;
  }
  /// As call(), with the whole reply: for an operation that has a result
  /// code and a value both to answer with.
  template <class I = Primary, class... A>
  std::optional<SimContext::Answered> callAnswered(const char* operation, const A&... arguments) const {
    if (!context()->observing()) return std::nullopt;
    std::vector<std::string> texts;
    std::vector<Payload> payloads;
    texts.reserve(sizeof...(A));
    (appendInput(texts, payloads, arguments), ...);
    return hostCall(I::descriptor.typeName, operation, std::move(texts), std::move(payloads),
                    outputSlots(arguments...));
  }

 private:
  // An input's text and, for an any-valued one, its decoded view.
  template <class T>
  static void appendInput(std::vector<std::string>& texts, std::vector<Payload>& payloads, const T& argument) {
    if constexpr (!IsOutput<T>::value) {
      texts.push_back(argumentText(argument));
      if constexpr (std::is_same_v<T, Zol::ZolAny_24_8> || std::is_same_v<T, kyr::orla::appfw::CmdParameters>) {
        payloads.push_back(Payload::of(argument));
      } else if constexpr (std::is_same_v<T, Zol::Framework::ZolEvent>) {
        payloads.push_back(Payload::of(argument.data));
      }
    }
  }
  template <class... A>
  static std::vector<OutputSlot> outputSlots(const A&... arguments) {
    std::vector<OutputSlot> outputs;
    (appendOutput(outputs, arguments), ...);
    return outputs;
  }
  template <class T>
  static void appendOutput(std::vector<OutputSlot>& outputs, const T& argument) {
    if constexpr (IsOutput<T>::value) outputs.push_back(OutputSlot::of(*argument.target));
  }

  template <class I>
  bool offer(const Zol::ZolTypeId& id, void** out) noexcept {
    using Interface = typename FacetInterface<I>::type;
    return Zol::offerInterface<Interface>(static_cast<Interface*>(static_cast<I*>(this)), id, out);
  }
};

/// Creates a simulated object; the returned pointer holds its first reference.
template <class T, class... Args>
ZolSmartPointer<T> makeSimObject(Args&&... args) {
  return ZolSmartPointer<T>(new T(std::forward<Args>(args)...));
}

/// The reference count of the simulated object behind `pointer`; 0 when it
/// is empty or not a simulated object.
template <class I>
std::uint32_t referenceCount(const ZolSmartPointer<I>& pointer) {
  const auto* object = dynamic_cast<const SimObjectBase*>(pointer.get());
  return object ? object->referenceCount() : 0;
}

/// A service that offers no interface beyond "Zol.ZolIService": stands for
/// host services the plug-in only hands around, and for services that lack
/// the interface a caller casts to.
///
/// \par Threads and exceptions
/// Thread-safe; it has no operation of its own, and reference counting and
/// interface queries never throw.
class SIMHOST_EXPORT SimService final : public SimObject<Zol::ZolIServiceInterface> {
 public:
  using SimObject::SimObject;
};

/// @}

}  // namespace simhost
