/// \file
/// Answers: what a host operation replies instead of doing its work. An
/// answer has the result code to return, the values to write into the
/// operation's output arguments (its non-const reference parameters, in
/// order) and, for an operation that returns a value instead of a result
/// (the root manager's comparisons and hash, an iterator's step), the value
/// to return. Armed with FaultPlan::answer for the calls a CallPattern
/// matches.
///
/// \code
///   using EventManager = Zol::Framework::ZolIEventManagerInterface;
///   // The look-up fails but writes 97 (checked when the call comes):
///   host.faults().answer(CallPattern::of<EventManager>("lookUpDomainId"), Answer::failure().writing(97));
///   // The same, checked by the compiler against the operation's signature:
///   host.faults().answer(CallPattern::of<EventManager>("lookUpDomainId"),
///                        simhost::answerTo<&EventManager::lookUpDomainId>(Answer::failure()).output<1>(97));
///   // The host says "unequal":
///   host.faults().answer(CallPattern::of<RootManager>("areEqual"), Answer::success().returning(false));
/// \endcode
///
/// A value is written into an output of another type when it converts
/// without loss: numbers between number types, a narrow text into a Unicode
/// one, an object into any interface it offers. A value that cannot be
/// written is a host failure naming the answer ("test bed: ..."), so the
/// test's fixture reports it; the operation then returns the answer's code
/// with that output unchanged. Answers are plain values.
#pragma once

#include <any>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include <unicode/unistr.h>

#include "simhost/SimHostExport.h"
#include "zol/kernel/ZolCast.h"
#include "zol/kernel/ZolResult.h"
#include "zol/kernel/ZolSmartPointer.h"

namespace simhost {

/// \addtogroup simhost_testbed
/// @{

/// A readable name of a C++ type, for the messages of answers.
SIMHOST_EXPORT std::string typeLabel(const std::type_info& type);

/// One value an answer writes or returns. Numbers are kept as the widest
/// type of their kind, texts as std::string or icu::UnicodeString, object
/// references as a generic service handle; anything else as given.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Its
/// members throw only what copying the value throws (std::bad_alloc for
/// numbers, texts and objects); writeTo reports a value that does not convert
/// by returning false.
class SIMHOST_EXPORT AnswerValue {
 public:
  /// `value`, kept as described above.
  template <class T>
  static AnswerValue of(T&& value) {
    using V = std::decay_t<T>;
    AnswerValue kept;
    kept.label_ = simhost::typeLabel(typeid(V));
    if constexpr (std::is_same_v<V, bool>) {
      kept.value_ = value;
    } else if constexpr (std::is_integral_v<V> && std::is_signed_v<V>) {
      kept.value_ = static_cast<long long>(value);
    } else if constexpr (std::is_integral_v<V>) {
      kept.value_ = static_cast<unsigned long long>(value);
    } else if constexpr (std::is_floating_point_v<V>) {
      kept.value_ = static_cast<double>(value);
    } else if constexpr (std::is_same_v<V, const char*> || std::is_same_v<V, char*> ||
                         std::is_same_v<V, std::string_view>) {
      kept.value_ = std::string(value);
    } else if constexpr (std::is_same_v<V, const char16_t*> || std::is_same_v<V, char16_t*>) {
      kept.value_ = icu::UnicodeString(value);
    } else if constexpr (std::is_same_v<V, std::nullptr_t>) {
      kept.value_ = Zol::ZolIService();
    } else if constexpr (IsSmartPointer<V>::value) {
      kept.value_ = Zol::ZolIService(value);
    } else {
      kept.value_ = V(std::forward<T>(value));
    }
    return kept;
  }

  /// The C++ type the value was given as.
  const std::string& typeLabel() const noexcept { return label_; }

  /// Writes the value into `target` when it converts without loss; false,
  /// leaving `target` as it was, otherwise.
  template <class U>
  bool writeTo(U& target) const {
    if (const U* same = std::any_cast<U>(&value_)) {
      target = *same;
      return true;
    }
    if constexpr (std::is_arithmetic_v<U>) {
      return writeNumber(target);
    } else if constexpr (IsSmartPointer<U>::value) {
      const auto* object = std::any_cast<Zol::ZolIService>(&value_);
      if (object == nullptr) return false;
      U offered = Zol::interfaceCast<typename U::interface_type>(*object);
      if (*object && !offered) return false;
      target = std::move(offered);
      return true;
    } else if constexpr (std::is_same_v<U, icu::UnicodeString>) {
      const auto* text = std::any_cast<std::string>(&value_);
      if (text == nullptr) return false;
      target = icu::UnicodeString::fromUTF8(*text);
      return true;
    } else {
      return false;
    }
  }

 private:
  template <class T>
  struct IsSmartPointer : std::false_type {};
  template <class I>
  struct IsSmartPointer<ZolSmartPointer<I>> : std::true_type {};

  // A number of any kind into `target`, when it keeps its value there.
  template <class U>
  bool writeNumber(U& target) const {
    if (const auto* flag = std::any_cast<bool>(&value_)) return keeps(*flag, target);
    if (const auto* whole = std::any_cast<long long>(&value_)) return keeps(*whole, target);
    if (const auto* natural = std::any_cast<unsigned long long>(&value_)) return keeps(*natural, target);
    if (const auto* real = std::any_cast<double>(&value_)) return keeps(*real, target);
    return false;
  }
  template <class V, class U>
  static bool keeps(V value, U& target) {
    const U converted = static_cast<U>(value);
    if (static_cast<V>(converted) != value) return false;
    // Between a signed and an unsigned integer type, a negative value on
    // either side has changed its meaning.
    if constexpr (std::is_integral_v<V> && std::is_integral_v<U> && !std::is_same_v<V, bool> &&
                  !std::is_same_v<U, bool> && std::is_signed_v<V> != std::is_signed_v<U>) {
      if constexpr (std::is_signed_v<V>) {
        if (value < 0) return false;
      } else {
        if (converted < 0) return false;
      }
    }
    target = converted;
    return true;
  }

  std::any value_;
  std::string label_;
};

/// What an operation replies instead of doing its work. Build one with
/// success() or failure(), then say what it writes and returns.
///
/// \par Threads and exceptions
/// A plain value: any thread may read it while no thread changes it. Copying
/// it throws only std::bad_alloc. Its other members throw nothing but
/// std::bad_alloc either.
class SIMHOST_EXPORT Answer {
 public:
  /// Success (code 0), writing and returning nothing.
  static Answer success() { return Answer(Zol::ZolResult_24_8::kSuccess); }
  /// Failure with `code` (2147483647 unless given), writing and returning
  /// nothing.
  static Answer failure(std::int32_t code = Zol::ZolResult_24_8::kFailure) { return Answer(code); }

  /// Writes `values` into the next output arguments, in order; a
  /// std::nullopt leaves its output as it is.
  template <class... T>
  Answer& writing(T&&... values) {
    (append(std::forward<T>(values)), ...);
    return *this;
  }
  /// Sets the value written into output `index` (0 the operation's first
  /// output argument).
  Answer& output(std::size_t index, AnswerValue value);
  /// For an operation that returns a value instead of a result: returns
  /// `value`. Such an operation takes no result code.
  template <class T>
  Answer& returning(T&& value) {
    returned_ = AnswerValue::of(std::forward<T>(value));
    return *this;
  }

  /// The result code the operation returns.
  std::int32_t code() const noexcept { return code_; }
  /// The values for the outputs, by position; empty where the output stays.
  const std::vector<std::optional<AnswerValue>>& outputs() const noexcept { return outputs_; }
  /// The value a value-returning operation returns; empty when not set.
  const std::optional<AnswerValue>& returned() const noexcept { return returned_; }
  /// "code <code>", then the outputs' and the return value's types.
  std::string text() const;

 private:
  explicit Answer(std::int32_t code) : code_(code) {}
  template <class T>
  void append(T&& value) {
    if constexpr (std::is_same_v<std::decay_t<T>, std::nullopt_t>) {
      outputs_.emplace_back();
    } else {
      outputs_.emplace_back(AnswerValue::of(std::forward<T>(value)));
    }
  }

  std::int32_t code_;
  std::vector<std::optional<AnswerValue>> outputs_;
  std::optional<AnswerValue> returned_;
};

namespace detail {

template <class Member>
struct OperationOf;
template <class C, class R, class... A>
struct OperationOf<R (C::*)(A...)> {
  using Result = R;
  using Arguments = std::tuple<A...>;
};
template <class C, class R, class... A>
struct OperationOf<R (C::*)(A...) noexcept> : OperationOf<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct OperationOf<R (C::*)(A...) const> : OperationOf<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct OperationOf<R (C::*)(A...) const noexcept> : OperationOf<R (C::*)(A...)> {};

template <class A>
inline constexpr bool isOutput = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

// How many of the first N arguments are outputs.
template <class Arguments, std::size_t... I>
constexpr std::size_t outputsAmong(std::index_sequence<I...>) {
  return (std::size_t{0} + ... + (isOutput<std::tuple_element_t<I, Arguments>> ? 1 : 0));
}

}  // namespace detail

/// An answer to the operation `Member` (a pointer to a member of a host
/// interface), checked by the compiler: output<N> takes only an output
/// argument N of the operation, and a value that converts to its type.
///
/// \par Threads and exceptions
/// A plain value, as the Answer it builds. The compiler checks each output
/// and return value; at run time its members throw nothing but
/// std::bad_alloc.
template <auto Member>
class TypedAnswer {
  using Operation = detail::OperationOf<decltype(Member)>;
  using Arguments = typename Operation::Arguments;

 public:
  /// Starts from `answer` (Answer::success() or Answer::failure(code)).
  explicit TypedAnswer(Answer answer) : answer_(std::move(answer)) {}

  /// Writes `value` into argument `N` of the operation (0 its first).
  template <std::size_t N, class V>
  TypedAnswer& output(V&& value) {
    static_assert(N < std::tuple_size_v<Arguments>, "the operation has no such argument");
    using Argument = std::tuple_element_t<N, Arguments>;
    static_assert(detail::isOutput<Argument>, "this argument is an input, not an output, of the operation");
    using Target = std::remove_reference_t<Argument>;
    static_assert(std::is_convertible_v<V, Target>, "the value does not convert to the output's type");
    answer_.output(detail::outputsAmong<Arguments>(std::make_index_sequence<N>()),
                   AnswerValue::of(Target(std::forward<V>(value))));
    return *this;
  }
  /// Returns `value` from an operation that returns a value instead of a
  /// result.
  template <class V>
  TypedAnswer& returning(V&& value) {
    using Result = typename Operation::Result;
    static_assert(!std::is_same_v<Result, Zol::ZolResult_24_8>, "the operation returns a result code: use output<N>");
    static_assert(std::is_convertible_v<V, Result>, "the value does not convert to the operation's return type");
    answer_.returning(Result(std::forward<V>(value)));
    return *this;
  }

  /// The answer built.
  operator Answer() const { return answer_; }  // NOLINT(google-explicit-constructor): used where an Answer goes

 private:
  Answer answer_;
};

/// A TypedAnswer for `Member`, starting from `answer`.
template <auto Member>
TypedAnswer<Member> answerTo(Answer answer = Answer::success()) {
  return TypedAnswer<Member>(std::move(answer));
}

/// @}

}  // namespace simhost
