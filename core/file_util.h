#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace prunko {

// True when the path names a file or a folder.
bool FileExists(const QString& path);

// The whole file up to its first NUL byte. False only when it cannot be opened.
bool ReadFileBytes(const QString& path, QByteArray& out);
// Replaces the file's content with `bytes` in one step (a temporary file
// renamed over it), so a crash never leaves half a file. False when the file
// cannot be written.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);

// ReadFileBytes then AnsiToWide; a missing or unreadable file is empty text.
QString ReadTextFile(const QString& path);
// WideToAnsi then WriteFileBytes.
bool WriteTextFile(const QString& path, QStringView text);

// The files (not folders, no names starting with ".") directly in `folder`
// created more than `days` whole days ago by the current clock, as full paths.
QStringList ListFilesOlderThan(const QString& folder, int days);

// `dir` with the platform's separator at its end.
QString WithTrailingSeparator(const QString& dir);

}  // namespace prunko
