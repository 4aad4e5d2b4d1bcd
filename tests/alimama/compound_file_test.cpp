#include "alimama/compound_file.h"

#include <gtest/gtest.h>

#include "xls_builder.h"
#include "support/test_support.h"

namespace prunko {
namespace {

using test::CompoundFileOf;
using test::Le32;

QByteArray Pattern(qsizetype size) {
  QByteArray b(size, '\0');
  for (qsizetype i = 0; i < size; ++i) b[i] = static_cast<char>(i * 7 + i / 251);
  return b;
}

TEST(CompoundFile, ReadsAStreamFromSectorsOrFromTheMiniStream) {
  for (const qsizetype size : {0, 1, 100, 4095, 4096, 5000, 70000}) {
    const QByteArray stream = Pattern(size);
    QByteArray read;
    ASSERT_TRUE(ReadCompoundStream(CompoundFileOf("Workbook", stream), u"Workbook", read)) << size;
    EXPECT_EQ(read, stream) << size;
  }
  QByteArray read;
  const QByteArray file = CompoundFileOf("Workbook", Pattern(300));
  EXPECT_TRUE(ReadCompoundStream(file, u"WORKBOOK", read));  // names compare without case
  EXPECT_FALSE(ReadCompoundStream(file, u"Book", read));
}

TEST(CompoundFile, ReadsTheStreamXlwtWrites) {
  QByteArray read;
  ASSERT_TRUE(ReadCompoundStream(test::ReadAll(PRUNKO_TEST_DATA_DIR "/order_report.xls"), u"Workbook", read));
  EXPECT_TRUE(read.startsWith(QByteArray("\x09\x08\x10\x00\x00\x06\x05\x00", 8)));  // the globals' BOF
}

// Overwrites four bytes of `file` at `at` with `value`.
QByteArray Patched(QByteArray file, qsizetype at, quint32 value) {
  file.replace(at, 4, Le32(value));
  return file;
}

TEST(CompoundFile, DamageIsNoStreamAndNeverAHang) {
  // Built with a 5000-byte stream: header, stream in sectors 0-9, the
  // directory in 10, the table in 11. A short one: the mini stream in
  // sector 0, its table in 1, the directory in 2, the table in 3.
  const QByteArray big = CompoundFileOf("Workbook", Pattern(5000));
  const QByteArray small = CompoundFileOf("Workbook", Pattern(100));
  const auto table_entry = [](quint32 table_sector, quint32 index) { return 512 + table_sector * 512 + index * 4; };
  const auto directory_entry = [](quint32 sector, quint32 index) { return 512 + sector * 512 + index * 128; };
  const struct {
    const char* what;
    QByteArray file;
  } cases[] = {
      {"a login page", R"(<html><iframe id="taobaoLoginIfr"></iframe></html>)"},
      {"nothing", ""},
      {"the header alone", big.left(512)},
      {"cut inside the stream", big.left(512 * 6)},
      {"a chain looping back", Patched(big, table_entry(11, 4), 2)},
      {"a chain leaving the table", Patched(big, table_entry(11, 4), 100000)},
      {"a chain into sectors past the end", Patched(big, table_entry(11, 4), 100)},
      {"a directory outside the table", Patched(big, 0x30, 5000)},
      {"more table sectors than the file has", Patched(big, 0x2C, 1000000)},
      {"a table sector past the end", Patched(big, 0x4C, 70000)},
      {"a sector size of 1 MiB", Patched(big, 0x1C, 0x0014FFFE)},
      {"a stream larger than its chain", Patched(big, directory_entry(10, 1) + 0x78, 9000)},
      {"a short stream in a looping mini chain", Patched(small, table_entry(1, 0), 0)},
      {"a mini stream past the end", Patched(small, directory_entry(2, 0) + 0x74, 40)},
      {"a short stream past the mini stream", Patched(Patched(small, table_entry(1, 0), 5), table_entry(1, 5), 0xFFFFFFFE)},
      {"an entry that is its own sibling, name unmatched",
       Patched(Patched(big, directory_entry(10, 1) + 0x44, 1), directory_entry(10, 1), 0x0042)},
  };
  for (const auto& c : cases) {
    QByteArray read;
    EXPECT_FALSE(ReadCompoundStream(c.file, u"Workbook", read)) << c.what;
  }
}

}  // namespace
}  // namespace prunko
