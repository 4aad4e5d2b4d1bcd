#pragma once

#include <QByteArrayView>
#include <QtEndian>

#include <cstring>

// Little-endian fields at a byte offset, as the .xls container and its
// records store them. The caller has checked that the bytes are there.
namespace prunko {

inline quint16 U16At(QByteArrayView bytes, qsizetype at) { return qFromLittleEndian<quint16>(bytes.data() + at); }
inline quint32 U32At(QByteArrayView bytes, qsizetype at) { return qFromLittleEndian<quint32>(bytes.data() + at); }
inline quint64 U64At(QByteArrayView bytes, qsizetype at) { return qFromLittleEndian<quint64>(bytes.data() + at); }

inline double DoubleAt(QByteArrayView bytes, qsizetype at) {
  const quint64 bits = U64At(bytes, at);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace prunko
