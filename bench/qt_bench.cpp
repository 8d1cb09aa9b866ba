// The Qt peer of the parameter bunch's round trip: the same payload as a
// QVariantMap, written to a QDataStream over a QByteArray and read back, as
// a Qt user would pass named parameters. Built only when Qt 5 is found.
#include <QByteArray>
#include <QDataStream>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "Comparison.h"
#include "workloads/BunchWorkloads.h"

namespace {

QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

// The entry's value as Qt holds it; the object reference travels as its address.
QVariant toVariant(const bench::PayloadEntry& entry, quintptr object) {
  switch (entry.kind) {
    case bench::ValueKind::Int32:
      return entry.number;
    case bench::ValueKind::Double:
      return entry.number + 0.25;
    case bench::ValueKind::Bool:
      return entry.number % 2 != 0;
    case bench::ValueKind::NestedBunch:
      return QVariantMap{{"count", entry.number}, {"label", toQString(entry.text)}, {"scale", entry.number + 0.25}};
    case bench::ValueKind::Object:
      return QVariant::fromValue(object);
    default:
      return toQString(entry.text);
  }
}

// The payload's QVariantMap through a QDataStream and back; a workload as in
// workloads/BunchWorkloads.h.
class QtVariantRoundTrip {
 public:
  explicit QtVariantRoundTrip(long entries) : object_(bench::payloadObject()) {
    const auto address = reinterpret_cast<quintptr>(object_.get());
    for (const bench::PayloadEntry& entry : bench::mixedPayload(entries)) {
      map_.insert(toQString(entry.key), toVariant(entry, address));
    }
  }

  void run() const {
    const QVariantMap back = roundTrip();
    benchmark::DoNotOptimize(&back);
  }

  bool verify() const { return roundTrip() == map_; }

 private:
  QVariantMap roundTrip() const {
    QByteArray bytes;
    {
      QDataStream out(&bytes, QIODevice::WriteOnly);
      out << map_;
    }
    QVariantMap back;
    QDataStream in(bytes);
    in >> back;
    if (in.status() != QDataStream::Ok) back.clear();
    return back;
  }

  ZolSmartPointer<simhost::SimService> object_;
  QVariantMap map_;
};

const bench::Reference kQt("BM_BunchRoundTrip", "Qt", bench::measure<QtVariantRoundTrip>, bench::Aim{0.25, 20});

}  // namespace
