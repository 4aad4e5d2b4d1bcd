#include "core/app_paths.h"

#include <QDir>
#include <QStandardPaths>

#include "core/file_util.h"
#include "core/guarded_record.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace prunko {
namespace {

GuardedRecord<AppPaths>& Record() {
  static GuardedRecord<AppPaths> paths;
  return paths;
}

#ifdef Q_OS_WIN
QString ShortPathOf(const QString& path) {
  const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
  const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring buffer(needed, L'\0');
  const DWORD written = GetShortPathNameW(wide.c_str(), buffer.data(), needed);
  if (written == 0 || written >= needed) return path;
  buffer.resize(written);
  return QString::fromStdWString(buffer);
}
#endif

}  // namespace

AppPaths ComputeAppPaths(const QString& exe_dir) {
  AppPaths p;
  p.exe_dir = WithTrailingSeparator(exe_dir);
#ifdef Q_OS_WIN
  const QString local_app_data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  p.app_data_dir = WithTrailingSeparator(ShortPathOf(local_app_data)) + QStringLiteral("Pradelunko\\");
  p.temp_dir = QString(p.exe_dir.at(0)) + QStringLiteral(":\\prunko_temp\\");
#else
  const QString home = qEnvironmentVariable("PRADELUNKO_HOME");
  if (!home.isEmpty()) {
    p.app_data_dir = WithTrailingSeparator(home);
    p.temp_dir = p.app_data_dir + QStringLiteral("prunko_temp/");
  } else {
    p.app_data_dir =
        WithTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
        QStringLiteral("Pradelunko/");
    p.temp_dir = WithTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)) +
                 QStringLiteral("prunko_temp/");
  }
#endif
  p.cached_dir = WithTrailingSeparator(p.app_data_dir + QStringLiteral("cached"));
  p.log_dir = WithTrailingSeparator(p.app_data_dir + QStringLiteral("log"));
  return p;
}

AppPaths Paths() { return Record().Get(); }

void SetPaths(const AppPaths& paths) { Record().Set(paths); }

}  // namespace prunko
