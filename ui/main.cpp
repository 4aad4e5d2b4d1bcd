// The main program's entry point.

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

#include "core/app_paths.h"
#include "core/startup.h"
#include "net/endpoints.h"
#include "platform/shell.h"

namespace {

// Where nobody can see a window, a question would wait forever.
bool CanAskTheUser() {
  const QString platform = QGuiApplication::platformName();
  return platform != u"offscreen" && platform != u"minimal";
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);

  const prunko::AppPaths paths = prunko::ComputeAppPaths(QCoreApplication::applicationDirPath());
  prunko::LoadEndpointsFile(paths.app_data_dir + QStringLiteral("endpoints.ini"));

  prunko::StartupHooks hooks;
  hooks.ask_tutorial = [] {
    return CanAskTheUser() &&
           QMessageBox::question(nullptr, QString::fromUtf16(prunko::kTutorialTitle),
                                 QString::fromUtf16(prunko::kTutorialQuestion)) == QMessageBox::Yes;
  };
  hooks.open_url = [](const QString& url) { prunko::OpenWithDefaultHandler(url); };
  hooks.launch_detached = [](const QString& program, const QString& params) {
    prunko::LaunchDetached(program, params);
  };
  hooks.tutorial_url = prunko::CurrentEndpoints().help_pages;
  prunko::PrepareStartup(paths, hooks);

  // The login window and the main frame are not part of this build yet.
  std::printf("Pradelunko: folders, log and configuration are ready in %s\n",
              qPrintable(paths.app_data_dir));
  std::printf("Pradelunko: the login window is not built yet; nothing more to show.\n");
  return 0;
}
