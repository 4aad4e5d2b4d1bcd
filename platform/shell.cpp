#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace prunko {

bool LaunchDetached(const QString& program, const QString& params) {
  QStringList arguments;
  if (!params.isEmpty()) arguments.append(params);
  return QProcess::startDetached(program, arguments);
}

bool OpenWithDefaultHandler(const QString& target) {
  return QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

}  // namespace prunko
