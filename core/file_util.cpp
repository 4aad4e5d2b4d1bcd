#include "core/file_util.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "core/clock.h"
#include "core/text_convert.h"

namespace prunko {

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo::exists(path); }

bool ReadFileBytes(const QString& path, QByteArray& out) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  out = file.readAll();
  const qsizetype nul = out.indexOf('\0');
  if (nul >= 0) out.truncate(nul);
  return true;
}

bool WriteFileBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString ReadTextFile(const QString& path) {
  QByteArray bytes;
  if (!ReadFileBytes(path, bytes)) return {};
  return AnsiToWide(bytes);
}

bool WriteTextFile(const QString& path, QStringView text) { return WriteFileBytes(path, WideToAnsi(text)); }

QStringList ListFilesOlderThan(const QString& folder, int days) {
  QStringList old_files;
  const QString dir_path = WithTrailingSeparator(folder);
  const QDir dir(dir_path);
  if (!dir.exists()) return old_files;
  const QDateTime now = CurrentClock().UtcNow();
  const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  for (const QFileInfo& entry : entries) {
    if (entry.fileName().startsWith(u'.')) continue;
    // Not every file system keeps a creation time; the last change stands in.
    QDateTime created = entry.birthTime();
    if (!created.isValid()) created = entry.lastModified();
    const qint64 age_days = created.msecsTo(now) / (1000LL * 60 * 60 * 24);
    if (age_days > days) old_files.append(dir_path + entry.fileName());
  }
  return old_files;
}

QString WithTrailingSeparator(const QString& dir) {
  const QString native = QDir::toNativeSeparators(dir);
  if (native.endsWith(QDir::separator())) return native;
  return native + QDir::separator();
}

}  // namespace prunko
