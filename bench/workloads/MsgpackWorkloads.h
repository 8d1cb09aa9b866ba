// msgpack-c's round trip of a parameter map, the peer of the parameter
// bunch's (workloads/BunchWorkloads.h), over the same mixed payload: a map of
// key to msgpack::object packed into a msgpack::sbuffer and unpacked back
// into a map of key to msgpack::object, as a msgpack-c user passes named
// parameters of mixed types. Built only when msgpack-c is found.
//
//   bench::MsgpackRoundTrip roundTrip(20);  // a map of 20 mixed entries
//   if (roundTrip.verify()) roundTrip.run();
#pragma once

#include <map>
#include <string>
#include <vector>

#include <msgpack.hpp>

#include "workloads/BunchWorkloads.h"

namespace bench {

class MsgpackRoundTrip {
 public:
  explicit MsgpackRoundTrip(long entries);
  void run() const;
  /// The unpacked map holds every payload entry's key and value, and
  /// nothing else.
  bool verify() const;

 private:
  using ObjectMap = std::map<std::string, msgpack::object>;

  /// The unpacked objects live in the handle's zone.
  struct Unpacked {
    msgpack::object_handle handle;
    ObjectMap map;
  };
  Unpacked roundTrip() const;

  ZolSmartPointer<simhost::SimService> object_;
  std::vector<PayloadEntry> payload_;
  msgpack::zone zone_;  // holds the objects of map_
  ObjectMap map_;
};

}  // namespace bench
