#include "core/startup.h"

#include <QDir>

#include "core/app_config.h"
#include "core/config_file.h"
#include "core/file_util.h"
#include "core/format.h"
#include "core/log_file.h"
#include "core/version.h"

namespace prunko {

QString UpdaterFileName() {
#ifdef Q_OS_WIN
  return QStringLiteral("Update.exe");
#else
  return QStringLiteral("Update");
#endif
}

void PrepareStartup(const AppPaths& paths, const StartupHooks& hooks) {
  SetPaths(paths);
  // Off Windows the parent (~/.local/share) may be missing on a new account.
  QDir().mkpath(paths.app_data_dir);

  InstallLogFileWriter(paths.log_dir);
  WriteOutput(kLogSeparator);
  WriteOutput(kProgramVersion);

  const QString config_path = paths.app_data_dir + QStringLiteral("config.cfg");
  if (!FileExists(config_path) && hooks.ask_tutorial && hooks.ask_tutorial() && hooks.open_url) {
    hooks.open_url(hooks.tutorial_url);
  }

  WriteVersion(config_path);
  UpdateConfig([&](AppConfig& config) {
    config.config_path = config_path;
    ResetToDefaults(config);
    LoadConfig(config);
  });

  if (hooks.launch_detached) {
    hooks.launch_detached(paths.exe_dir + UpdaterFileName(), FormatString(u"ver=%s&auto=1", kProgramVersion));
  }
}

}  // namespace prunko
