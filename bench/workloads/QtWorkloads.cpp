#include "workloads/QtWorkloads.h"

#include <QByteArray>
#include <QDataStream>
#include <QString>
#include <QVariant>

#include <benchmark/benchmark.h>

namespace bench {

namespace {

QString toQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

// The entry's value as Qt holds it.
QVariant toVariant(const PayloadEntry& entry, quintptr object) {
  switch (entry.kind) {
    case ValueKind::Int32:
      return entry.number;
    case ValueKind::Double:
      return entry.number + 0.25;
    case ValueKind::Bool:
      return entry.number % 2 != 0;
    case ValueKind::NestedBunch:
      return QVariantMap{{"count", entry.number}, {"label", toQString(entry.text)}, {"scale", entry.number + 0.25}};
    case ValueKind::Object:
      return QVariant::fromValue(object);
    default:
      return toQString(entry.text);
  }
}

}  // namespace

QtVariantRoundTrip::QtVariantRoundTrip(long entries) : object_(payloadObject()) {
  const auto address = reinterpret_cast<quintptr>(object_.get());
  for (const PayloadEntry& entry : mixedPayload(entries)) map_.insert(toQString(entry.key), toVariant(entry, address));
}

void QtVariantRoundTrip::run() const {
  const QVariantMap back = roundTrip();
  benchmark::DoNotOptimize(&back);
}

bool QtVariantRoundTrip::verify() const { return roundTrip() == map_; }

QVariantMap QtVariantRoundTrip::roundTrip() const {
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

}  // namespace bench
