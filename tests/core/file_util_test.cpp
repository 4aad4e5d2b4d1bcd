#include "core/file_util.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "core/fake_clock.h"
#include "support/test_support.h"

namespace prunko {
namespace {

using test::TempFolder;

TEST(FileUtil, ReadAndWriteBytes) {
  TempFolder dir;
  const QString path = dir.File("a.txt");
  EXPECT_FALSE(FileExists(path));
  EXPECT_TRUE(WriteFileBytes(path, QByteArray("first\0second", 12)));
  EXPECT_TRUE(FileExists(path));
  EXPECT_TRUE(FileExists(dir.path()));  // a folder counts
  EXPECT_EQ(test::ReadAll(path).size(), 12);
  QByteArray read;
  EXPECT_TRUE(ReadFileBytes(path, read));
  EXPECT_EQ(read, "first");  // up to the first NUL
  EXPECT_TRUE(WriteFileBytes(path, "short"));  // truncates
  EXPECT_EQ(test::ReadAll(path), "short");
  EXPECT_FALSE(ReadFileBytes(dir.File("missing"), read));
  EXPECT_FALSE(WriteFileBytes(dir.File("no/such/folder/x"), "x"));
  // Nothing is left behind by the atomic replace.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"});
}

TEST(FileUtil, TextFilesUseTheAnsiCodePage) {
  TempFolder dir;
  const QString path = dir.File("t.txt");
  const QString text = QString::fromUtf8("券后价9.9元\r\n");
  EXPECT_TRUE(WriteTextFile(path, text));
  EXPECT_EQ(ReadTextFile(path), text);
  EXPECT_EQ(ReadTextFile(dir.File("missing")), QString());
  test::ScopedAnsiCodePage gbk("GBK");
  ASSERT_TRUE(gbk.ok());
  EXPECT_TRUE(WriteTextFile(path, QString::fromUtf8("你ก")));
  EXPECT_EQ(test::ReadAll(path), QByteArray("\xC4\xE3?"));
  EXPECT_EQ(ReadTextFile(path), QString::fromUtf8("你?"));
}

TEST(FileUtil, ListFilesOlderThanCountsWholeDays) {
  TempFolder dir;
  test::WriteAll(dir.File("old.jpg"), "x");
  test::WriteAll(dir.File(".hidden"), "x");
  QDir(dir.path()).mkdir("sub");
  test::WriteAll(dir.File("sub/deep.jpg"), "x");

  FakeClock clock(QDateTime::currentDateTime().addDays(4).addSecs(3600));
  ScopedClock use(clock);
  const QString folder = dir.path().chopped(1);  // the separator is added
  EXPECT_EQ(ListFilesOlderThan(folder, 3), QStringList{dir.File("old.jpg")});
  EXPECT_EQ(ListFilesOlderThan(folder, 4), QStringList{});  // 4 days is not more than 4
  EXPECT_EQ(ListFilesOlderThan(dir.File("missing"), 0), QStringList{});
}

TEST(FileUtil, WithTrailingSeparator) {
  EXPECT_EQ(WithTrailingSeparator("/a/b"), QDir::toNativeSeparators("/a/b/"));
  EXPECT_EQ(WithTrailingSeparator("/a/b/"), QDir::toNativeSeparators("/a/b/"));
}

}  // namespace
}  // namespace prunko
