#pragma once

#include <QString>

#include <functional>

#include "core/app_paths.h"

namespace prunko {

// What start-up needs of the desktop; the program passes the real ones, tests
// record the calls.
struct StartupHooks {
  // The first-run question "新手教程"; true for Yes.
  std::function<bool()> ask_tutorial;
  // Opens an address in the default browser.
  std::function<void(const QString& url)> open_url;
  // Starts a program with a parameter string and does not wait for it.
  std::function<void(const QString& program, const QString& params)> launch_detached;
  // The help pages shown after a Yes.
  QString tutorial_url;
};

inline constexpr char16_t kTutorialTitle[] = u"新手教程";
inline constexpr char16_t kTutorialQuestion[] = u"第一次使用Velmorind微信助手，是否看一看使用教程？";
inline constexpr char16_t kLogSeparator[] = u"======我是一条华丽的分割线=======\r\n\r\n";

// The updater's file name in the program's folder.
QString UpdaterFileName();

// Everything before the first window: fixes `paths` for the process, creates
// the application-data folder, opens the log with its two first entries, asks
// the first-run question when config.cfg is missing, writes the version,
// loads the configuration over its defaults and launches the updater with
// "ver=%s&auto=1". Failures along the way are ignored: the program goes on.
void PrepareStartup(const AppPaths& paths, const StartupHooks& hooks);

}  // namespace prunko
