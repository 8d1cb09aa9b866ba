// The Qt peer of the parameter bunch's round trip (workloads/BunchWorkloads.h):
// the same payload as a QVariantMap, written to a QDataStream over a
// QByteArray and read back, as a Qt user would pass named parameters. The
// object reference travels as its address. Built only when Qt 5 is found.
//
//   bench::QtVariantRoundTrip roundTrip(20);  // a map of 20 mixed entries
//   if (roundTrip.verify()) roundTrip.run();
#pragma once

#include <QVariantMap>

#include "workloads/BunchWorkloads.h"

namespace bench {

class QtVariantRoundTrip {
 public:
  explicit QtVariantRoundTrip(long entries);
  void run() const;
  /// The map read back equals the map written.
  bool verify() const;

 private:
  QVariantMap roundTrip() const;

  ZolSmartPointer<simhost::SimService> object_;
  QVariantMap map_;
};

}  // namespace bench
