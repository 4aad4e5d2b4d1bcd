#include "platform/shell.h"

#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace prunko {
namespace {

// What the detached program wrote, once it has written all of it.
QByteArray WaitForFile(const QString& path) {
  QByteArray bytes;
  test::WaitUntil([&] {
    bytes = test::ReadAll(path);
    return bytes.endsWith('\n');
  });
  return bytes;
}

TEST(Shell, LaunchDetachedPassesTheParameterStringAsOneArgument) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString script = dir.filePath("Update");
  const QString out = dir.filePath("args.txt");
  {
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/args.tmp\" && mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  ASSERT_TRUE(LaunchDetached(script, "ver=1.59&auto=1"));
  EXPECT_EQ(WaitForFile(out), "1|ver=1.59&auto=1\n");
  EXPECT_FALSE(LaunchDetached(dir.filePath("missing"), "x"));
}

}  // namespace
}  // namespace prunko
