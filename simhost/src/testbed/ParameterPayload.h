// A payload in command-parameter-list form (a GUI action's payload, a
// command's parameters), read by key the way the host's decoders read it.
// Every problem is noted instead of thrown: not a list, a malformed stream,
// a key missing, a value of another type or one that does not read whole.
// A decoder reads what it needs, then refuses the whole payload when
// problems() is not empty, so a wrong payload changes nothing.
//
//   ParameterPayload payload(any);
//   auto invoker = payload.take<ZolSmartPointer<ZolIInvokerInterface>>("invoker");
//   if (!payload.ok()) return refuse(payload.problems());
#pragma once

#include <optional>
#include <string>

#include "kyr/appfw/CmdParameters.h"
#include "zol/kernel/ZolAny.h"
#include "zol/kernel/ZolException.h"

namespace simhost::internal {

class ParameterPayload {
 public:
  /// Decodes `payload`, which must carry a command-parameter list.
  explicit ParameterPayload(const Zol::ZolAny_24_8& payload);
  /// A list already decoded (a command's parameters).
  explicit ParameterPayload(kyr::orla::appfw::CmdParameters parameters);

  /// The value of `key` read as a T (its any-value typed as makeZolAny<T>
  /// types it); T{} and a noted problem when it is missing, of another type
  /// or malformed. A key given twice reads as its last value.
  template <class T>
  T take(const std::string& key) {
    const Zol::ZolAny_24_8* value = find(key);
    T read{};
    if (value == nullptr) return read;
    if (value->holdsNothing() || value->getTypeCode() != Zol::ZolTypeCodeOf<T>::get()) {
      noteType(key, *value, Zol::ZolTypeCodeOf<T>::get().getName());
      return read;
    }
    try {
      Zol::extractZolAny(*value, read);
    } catch (const Zol::ZolException_24& e) {
      note("\"" + key + "\" does not read as one value: " + e.getText());
    }
    return read;
  }
  /// The command-parameter list that `key` carries; empty, with a problem
  /// noted, when it is missing, of another type or malformed.
  kyr::orla::appfw::CmdParameters takeList(const std::string& key);

  /// True while nothing was wrong.
  bool ok() const noexcept { return problems_.empty(); }
  /// The problems noted, separated by "; ".
  const std::string& problems() const noexcept { return problems_; }

 private:
  const Zol::ZolAny_24_8* find(const std::string& key);
  void noteType(const std::string& key, const Zol::ZolAny_24_8& value, const std::string& expected);
  void note(const std::string& problem);

  kyr::orla::appfw::CmdParameters parameters_;
  std::string problems_;
};

}  // namespace simhost::internal
