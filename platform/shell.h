#pragma once

#include <QString>

namespace prunko {

// Starts `program` with the parameter string `params` as its one argument
// and does not wait for it. False when it could not be started.
bool LaunchDetached(const QString& program, const QString& params);

// Opens an address, a file or a folder with the desktop's default handler.
// Needs a running QGuiApplication.
bool OpenWithDefaultHandler(const QString& target);

}  // namespace prunko
