#pragma once

#include <QString>
#include <QStringView>

#include <mutex>

namespace prunko {

// Appends entries to the two daily log files in a folder: "output_" and
// "err_" + the date "%d-%d-%d" + ".txt". One line per entry: the local time
// "%02d:%02d:%02d", two spaces, the text, CR LF, in the ANSI code page.
class LogFileWriter {
 public:
  explicit LogFileWriter(const QString& dir);

  void WriteOutput(QStringView text);
  void WriteError(QStringView text);

  const QString& dir() const { return dir_; }

 private:
  void Append(QStringView prefix, QStringView text);

  const QString dir_;
  std::mutex mutex_;  // one append at a time, from every thread
};

// The process's writer, set up at start-up; until then entries are dropped.
// Installing replaces (and frees) the previous writer; an empty folder removes it.
void InstallLogFileWriter(const QString& dir);
void WriteOutput(QStringView text);
void WriteError(QStringView text);

}  // namespace prunko
