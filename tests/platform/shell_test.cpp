#include "platform/shell.h"

#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace prunko {
namespace {

// Polls for a file a detached program writes; bounded, in short steps.
QByteArray WaitForFile(const QString& path) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = f.readAll();
      if (bytes.endsWith('\n')) return bytes;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
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
