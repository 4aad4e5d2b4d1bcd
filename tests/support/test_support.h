#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/text_convert.h"

namespace prunko::test {

// Switches the ANSI code page for one test.
class ScopedAnsiCodePage {
 public:
  explicit ScopedAnsiCodePage(const QByteArray& name) { ok_ = SetAnsiCodePage(name); }
  ~ScopedAnsiCodePage() { ResetAnsiCodePage(); }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// A fresh folder, removed after the test; paths inside end with "/".
class TempFolder {
 public:
  TempFolder() { EXPECT_TRUE(dir_.isValid()); }
  QString path() const { return dir_.path() + u'/'; }
  QString File(const QString& name) const { return path() + name; }

 private:
  QTemporaryDir dir_;
};

// Waits, in short real steps, until `done` holds or `limit` passes: for what
// another process or a server thread does outside the test's clock.
template <typename Done>
bool WaitUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

}  // namespace prunko::test

// Readable QString output in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
