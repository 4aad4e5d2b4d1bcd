#include "alimama/compound_file.h"

#include <vector>

#include "alimama/little_endian.h"

namespace prunko {
namespace {

constexpr quint32 kEndOfChain = 0xFFFFFFFE;
constexpr quint32 kNoEntry = 0xFFFFFFFF;
// A length that asks for a chain up to its end.
constexpr quint64 kWholeChain = ~quint64(0);
constexpr qsizetype kHeaderSize = 512;
constexpr qsizetype kHeaderDifatEntries = 109;
constexpr qsizetype kDirectoryEntrySize = 128;
constexpr qsizetype kMiniSectorSize = 64;
// Streams shorter than this live in the mini stream, in 64-byte sectors.
constexpr quint64 kMiniStreamCutoff = 4096;

enum EntryType : quint8 { kStreamEntry = 2, kRootEntry = 5 };

// A table of sector numbers (the allocation table, the mini table) as
// stored: little-endian 32-bit entries.
class SectorTable {
 public:
  void Append(QByteArrayView sector) {
    for (qsizetype at = 0; at + 4 <= sector.size(); at += 4) entries_.push_back(U32At(sector, at));
  }
  // The sectors of the chain from `start`, as many as `bytes` fill. False
  // when the chain loops, leaves the table or ends before that.
  bool Chain(quint32 start, quint64 bytes, qsizetype sector_size, std::vector<quint32>& chain) const {
    chain.clear();
    const bool whole = bytes == kWholeChain;
    const quint64 wanted = whole ? 0 : bytes / sector_size + (bytes % sector_size != 0);
    std::vector<bool> seen(entries_.size());
    for (quint32 s = start; s != kEndOfChain && (whole || chain.size() < wanted); s = entries_[s]) {
      if (s >= entries_.size() || seen[s]) return false;
      seen[s] = true;
      chain.push_back(s);
    }
    return whole || chain.size() == wanted;
  }

 private:
  std::vector<quint32> entries_;
};

struct DirectoryEntry {
  QString name;
  quint8 type = 0;
  quint32 left = kNoEntry, right = kNoEntry, child = kNoEntry;
  quint32 start = kEndOfChain;
  quint64 size = 0;
};

class CompoundFile {
 public:
  explicit CompoundFile(QByteArrayView file) : file_(file) {}

  bool Open() {
    static constexpr char kSignature[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
    if (file_.size() < kHeaderSize || !file_.startsWith(QByteArrayView(kSignature, 8))) return false;
    major_version_ = U16At(file_, 0x1A);
    const quint16 sector_shift = U16At(file_, 0x1E);
    if (U16At(file_, 0x1C) != 0xFFFE || (sector_shift != 9 && sector_shift != 12) || U16At(file_, 0x20) != 6) return false;
    sector_size_ = qsizetype(1) << sector_shift;
    return ReadAllocationTable() && ReadDirectory();
  }

  bool Stream(QStringView name, QByteArray& stream) {
    const DirectoryEntry* entry = FindInRoot(name);
    if (!entry || entry->type != kStreamEntry) return false;
    if (entry->size < kMiniStreamCutoff) {
      return ReadMiniStream() && Read(mini_fat_, {mini_stream_, kMiniSectorSize, 0}, entry->start, entry->size, stream);
    }
    return Read(fat_, FileSectors(), entry->start, entry->size, stream);
  }

 private:
  // Where a table's sectors lie: the file's after its header, or the mini
  // stream's 64-byte ones.
  struct SectorSpace {
    QByteArrayView bytes;
    qsizetype sector_size;
    qint64 first;  // sectors before sector 0

    // Sector `index`; short when the bytes end inside it, empty past the end.
    QByteArrayView Sector(quint32 index) const {
      const qint64 at = (qint64(index) + first) * sector_size;
      if (at >= bytes.size()) return {};
      return bytes.sliced(at, qMin<qint64>(sector_size, bytes.size() - at));
    }
  };
  SectorSpace FileSectors() const { return {file_, sector_size_, 1}; }
  QByteArrayView Sector(quint32 index) const { return FileSectors().Sector(index); }

  // The chain's first `bytes` bytes (or all of them).
  static bool Read(const SectorTable& table, const SectorSpace& space, quint32 start, quint64 bytes, QByteArray& out) {
    std::vector<quint32> chain;
    if (!table.Chain(start, bytes, space.sector_size, chain)) return false;
    out.clear();
    // A damaged table can chain far more sectors than there are.
    out.reserve(qMin(static_cast<qsizetype>(chain.size()), space.bytes.size() / space.sector_size) * space.sector_size);
    for (quint32 s : chain) {
      const QByteArrayView sector = space.Sector(s);
      if (sector.isEmpty()) return false;
      out.append(sector);
    }
    if (bytes != kWholeChain) out.truncate(static_cast<qsizetype>(qMin<quint64>(bytes, quint64(out.size()))));
    return true;
  }

  bool ReadAllocationTable() {
    // The sectors of the allocation table: 109 named in the header, the rest
    // in a chain of list sectors, each ending with the number of the next.
    const quint64 fat_sectors = U32At(file_, 0x2C);
    const qsizetype file_sectors = file_.size() / sector_size_;
    if (fat_sectors > quint64(file_sectors)) return false;
    std::vector<quint32> listed;
    const auto take = [&](QByteArrayView list, qsizetype entries) {
      for (qsizetype i = 0; i < entries && listed.size() < fat_sectors; ++i) listed.push_back(U32At(list, i * 4));
    };
    take(file_.sliced(0x4C), kHeaderDifatEntries);
    quint32 list = U32At(file_, 0x44);
    for (qsizetype hops = 0; listed.size() < fat_sectors && list != kEndOfChain && list != kNoEntry; ++hops) {
      const QByteArrayView sector = Sector(list);
      if (hops > file_sectors || sector.size() != sector_size_) return false;
      const qsizetype per_sector = sector_size_ / 4 - 1;
      take(sector, per_sector);
      list = U32At(sector, per_sector * 4);
    }
    if (listed.size() < fat_sectors) return false;
    for (quint32 s : listed) {
      const QByteArrayView sector = Sector(s);
      if (sector.isEmpty()) return false;
      fat_.Append(sector);
    }
    return true;
  }

  bool ReadDirectory() {
    QByteArray directory;
    if (!Read(fat_, FileSectors(), U32At(file_, 0x30), kWholeChain, directory)) return false;
    for (qsizetype at = 0; at + kDirectoryEntrySize <= directory.size(); at += kDirectoryEntrySize) {
      const QByteArrayView raw = QByteArrayView(directory).sliced(at, kDirectoryEntrySize);
      DirectoryEntry e;
      // The name's length in bytes counts its terminating zero.
      const qsizetype name_length = qMin<qsizetype>(U16At(raw, 0x40), 64) / 2 - 1;
      for (qsizetype i = 0; i < name_length; ++i) e.name.append(QChar(U16At(raw, i * 2)));
      e.type = static_cast<quint8>(raw[0x42]);
      e.left = U32At(raw, 0x44);
      e.right = U32At(raw, 0x48);
      e.child = U32At(raw, 0x4C);
      e.start = U32At(raw, 0x74);
      // Version 3 files may leave junk in the size's upper half.
      e.size = major_version_ == 3 ? U32At(raw, 0x78) : U64At(raw, 0x78);
      entries_.push_back(e);
    }
    return !entries_.empty() && entries_[0].type == kRootEntry;
  }

  // The root entry's stream, which holds the short streams, and its table.
  bool ReadMiniStream() {
    const quint32 mini_table_start = U32At(file_, 0x3C);
    if (mini_table_start == kEndOfChain || mini_table_start == kNoEntry) return true;  // no short streams
    QByteArray table;
    if (!Read(fat_, FileSectors(), mini_table_start, kWholeChain, table)) return false;
    mini_fat_ = SectorTable();
    mini_fat_.Append(table);
    return Read(fat_, FileSectors(), entries_[0].start, entries_[0].size, mini_stream_);
  }

  // The root's children form a binary tree through their left and right
  // links; every entry is visited at most once, however the links point.
  const DirectoryEntry* FindInRoot(QStringView name) const {
    std::vector<bool> seen(entries_.size());
    std::vector<quint32> pending{entries_[0].child};
    while (!pending.empty()) {
      const quint32 index = pending.back();
      pending.pop_back();
      if (index >= entries_.size() || seen[index]) continue;
      seen[index] = true;
      const DirectoryEntry& e = entries_[index];
      if (e.name.compare(name, Qt::CaseInsensitive) == 0) return &e;
      pending.push_back(e.left);
      pending.push_back(e.right);
    }
    return nullptr;
  }

  QByteArrayView file_;
  quint16 major_version_ = 3;
  qsizetype sector_size_ = 512;
  SectorTable fat_;
  SectorTable mini_fat_;
  std::vector<DirectoryEntry> entries_;
  QByteArray mini_stream_;
};

}  // namespace

bool ReadCompoundStream(QByteArrayView file, QStringView name, QByteArray& stream) {
  CompoundFile compound(file);
  return compound.Open() && compound.Stream(name, stream);
}

}  // namespace prunko
