#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// The OLE2 compound file, the container an .xls workbook comes in: a small
// file system of fixed-size sectors, chained through an allocation table.
namespace prunko {

// Copies out the stream called `name` (compared without regard to case, as
// the format does) among the root storage's entries. False when `file` is no
// compound file, holds no such stream, or is damaged where the stream lies:
// a chain that loops, leaves the table or runs past the end of the file.
bool ReadCompoundStream(QByteArrayView file, QStringView name, QByteArray& stream);

}  // namespace prunko
