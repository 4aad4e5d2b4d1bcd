#pragma once

#include <QString>

namespace prunko {

// The five working directories; each ends with the platform's separator.
struct AppPaths {
  QString app_data_dir;  // settings, cache and logs of this user
  QString exe_dir;       // the program's folder
  QString temp_dir;      // downloaded pictures
  QString cached_dir;    // the goods pool and the send history
  QString log_dir;
  bool operator==(const AppPaths&) const = default;
};

// The directories for a program installed in `exe_dir`.
// On Windows: the local application-data folder in its short 8.3 form +
// "Pradelunko\", and "X:\prunko_temp\" on the program's drive X.
// Elsewhere: $PRADELUNKO_HOME/ when set (tests and the sandbox), else
// $XDG_DATA_HOME/Pradelunko/; the temporary folder is "prunko_temp/" inside
// $PRADELUNKO_HOME, else inside $XDG_CACHE_HOME.
AppPaths ComputeAppPaths(const QString& exe_dir);

// The process's directories: fixed at start-up, read everywhere.
AppPaths Paths();
void SetPaths(const AppPaths& paths);

}  // namespace prunko
