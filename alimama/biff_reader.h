#pragma once

#include <QByteArrayView>
#include <QString>

#include <vector>

// Reading the record stream of a BIFF8 workbook: records of a 16-bit type
// and a 16-bit length, longer data carried on in CONTINUE records.
namespace prunko::biff {

enum RecordType : quint16 {
  kFormula = 0x0006,
  kEof = 0x000A,
  kContinue = 0x003C,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kMulBlank = 0x00BE,
  kRString = 0x00D6,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kBlank = 0x0201,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kArray = 0x0221,
  kTable = 0x0236,
  kRk = 0x027E,
  kSharedFormula = 0x04BC,
  kBof = 0x0809,
};

struct Record {
  quint16 type = 0;
  QByteArrayView data;
  qsizetype offset = 0;  // of the record's header in the stream
};

// The data of a record and its CONTINUE records read as one, except that
// a string's characters carried on into the next piece start there with a
// fresh option byte (compressed or wide). Every read fails cleanly at the end.
class ContinuedData {
 public:
  explicit ContinuedData(std::vector<QByteArrayView> pieces) : pieces_(std::move(pieces)) {}

  bool U8(quint8& value);
  bool U16(quint16& value);
  bool U32(quint32& value);
  bool Skip(quint64 bytes);
  // `count` characters, one byte each (the low half of UTF-16) or two.
  bool Characters(quint32 count, bool wide, QString& text);
  // A string with a 16-bit character count and an option byte, with any
  // rich-text runs and phonetic block after its characters skipped.
  bool UnicodeString(QString& text);

 private:
  // The rest of the current piece, moving on to the next when it is used up.
  QByteArrayView Available();

  std::vector<QByteArrayView> pieces_;
  size_t piece_ = 0;
  qsizetype at_ = 0;
};

class RecordReader {
 public:
  explicit RecordReader(QByteArrayView stream) : stream_(stream) {}

  // The next record; false at the end of the stream or at a record that
  // runs past it.
  bool Next(Record& record);
  // The data of `record` from `at` on, with that of the CONTINUE records
  // that follow it, which are consumed.
  ContinuedData Continued(const Record& record, qsizetype at);
  // Moves to a record header by its stream offset; false past the end.
  bool Seek(qint64 offset);

 private:
  bool Peek(Record& record) const;

  QByteArrayView stream_;
  qsizetype at_ = 0;
};

}  // namespace prunko::biff
