#include "alimama/biff_reader.h"

#include <QtEndian>

#include <cstring>

#include "alimama/little_endian.h"

namespace prunko::biff {

bool RecordReader::Peek(Record& record) const {
  if (at_ + 4 > stream_.size()) return false;
  const quint16 length = U16At(stream_, at_ + 2);
  if (at_ + 4 + length > stream_.size()) return false;
  record.type = U16At(stream_, at_);
  record.data = stream_.sliced(at_ + 4, length);
  record.offset = at_;
  return true;
}

bool RecordReader::Next(Record& record) {
  if (!Peek(record)) return false;
  at_ += 4 + record.data.size();
  return true;
}

ContinuedData RecordReader::Continued(const Record& record, qsizetype at) {
  std::vector<QByteArrayView> pieces{record.data.sliced(at)};
  Record next;
  while (Peek(next) && next.type == kContinue) {
    pieces.push_back(next.data);
    at_ += 4 + next.data.size();
  }
  return ContinuedData(std::move(pieces));
}

bool RecordReader::Seek(qint64 offset) {
  if (offset < 0 || offset >= stream_.size()) return false;
  at_ = static_cast<qsizetype>(offset);
  return true;
}

QByteArrayView ContinuedData::Available() {
  while (piece_ < pieces_.size() && at_ == pieces_[piece_].size()) {
    ++piece_;
    at_ = 0;
  }
  return piece_ < pieces_.size() ? pieces_[piece_].sliced(at_) : QByteArrayView();
}

bool ContinuedData::U8(quint8& value) {
  const QByteArrayView rest = Available();
  if (rest.isEmpty()) return false;
  value = static_cast<quint8>(rest[0]);
  ++at_;
  return true;
}

bool ContinuedData::U16(quint16& value) {
  quint8 low = 0, high = 0;
  if (!U8(low) || !U8(high)) return false;
  value = static_cast<quint16>(low | high << 8);
  return true;
}

bool ContinuedData::U32(quint32& value) {
  quint16 low = 0, high = 0;
  if (!U16(low) || !U16(high)) return false;
  value = low | quint32(high) << 16;
  return true;
}

bool ContinuedData::Skip(quint64 bytes) {
  while (bytes > 0) {
    const QByteArrayView rest = Available();
    if (rest.isEmpty()) return false;
    const qsizetype step = static_cast<qsizetype>(qMin<quint64>(bytes, quint64(rest.size())));
    at_ += step;
    bytes -= quint64(step);
  }
  return true;
}

bool ContinuedData::Characters(quint32 count, bool wide, QString& text) {
  text.clear();
  while (count > 0) {
    if (piece_ < pieces_.size() && at_ == pieces_[piece_].size()) {
      // The characters go on in the next piece, behind an option byte of their own.
      quint8 options = 0;
      if (piece_ + 1 == pieces_.size() || !U8(options)) return false;
      wide = options & 0x01;
    }
    const QByteArrayView rest = Available();
    const qsizetype fit = qMin<qsizetype>(count, wide ? rest.size() / 2 : rest.size());
    if (fit == 0) return false;
    const qsizetype old_length = text.size();
    if (wide) {
      text.resize(old_length + fit);
      std::memcpy(text.data() + old_length, rest.data(), size_t(fit) * 2);
      if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
        for (qsizetype i = old_length; i < text.size(); ++i) text[i] = QChar(qFromLittleEndian(text[i].unicode()));
      }
      at_ += fit * 2;
    } else {
      text.append(QLatin1StringView(rest.data(), fit));
      at_ += fit;
    }
    count -= static_cast<quint32>(fit);
  }
  return true;
}

bool ContinuedData::UnicodeString(QString& text) {
  quint16 count = 0;
  quint8 options = 0;
  quint16 runs = 0;
  quint32 phonetic_bytes = 0;
  if (!U16(count) || !U8(options)) return false;
  if ((options & 0x08) && !U16(runs)) return false;
  if ((options & 0x04) && !U32(phonetic_bytes)) return false;
  return Characters(count, options & 0x01, text) && Skip(quint64(runs) * 4) && Skip(phonetic_bytes);
}

}  // namespace prunko::biff
