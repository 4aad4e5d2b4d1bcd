#include "core/log_file.h"

#include <QDir>
#include <QFile>

#include <memory>

#include "core/clock.h"
#include "core/date_util.h"
#include "core/file_util.h"
#include "core/text_convert.h"

namespace prunko {

LogFileWriter::LogFileWriter(const QString& dir) : dir_(WithTrailingSeparator(dir)) {}

void LogFileWriter::WriteOutput(QStringView text) { Append(u"output_", text); }

void LogFileWriter::WriteError(QStringView text) { Append(u"err_", text); }

void LogFileWriter::Append(QStringView prefix, QStringView text) {
  try {
    // The folder may have been deleted while the program runs.
    QDir().mkpath(dir_);
    const QDateTime now = CurrentClock().LocalNow();
    QString path = dir_;
    path += prefix;
    path += FormatDate(now.date());
    path += u".txt";
    QString entry = FormatTime(now.time());
    entry += u"  ";
    entry += text;
    const QByteArray line = WideToAnsi(entry) + "\r\n";
    std::lock_guard lock(mutex_);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) file.write(line);
  } catch (...) {
    // Logging never fails its caller.
  }
}

namespace {

std::mutex writer_mutex;
std::shared_ptr<LogFileWriter> installed_writer;

std::shared_ptr<LogFileWriter> Writer() {
  std::lock_guard lock(writer_mutex);
  return installed_writer;
}

}  // namespace

void InstallLogFileWriter(const QString& dir) {
  auto writer = dir.isEmpty() ? nullptr : std::make_shared<LogFileWriter>(dir);
  std::lock_guard lock(writer_mutex);
  installed_writer = std::move(writer);
}

void WriteOutput(QStringView text) {
  if (auto writer = Writer()) writer->WriteOutput(text);
}

void WriteError(QStringView text) {
  if (auto writer = Writer()) writer->WriteError(text);
}

}  // namespace prunko
