#pragma once

#include <QString>
#include <QStringView>

namespace prunko {

// MD5 in 32 lower-case hexadecimal digits over the text narrowed unit by unit
// (each UTF-16 unit gives its low 8 bits; ASCII text gives exactly its bytes).
// The cloud signatures and the picture-cache names rely on this rule.
QString Md5Hex(QStringView text);

// MD5 in 32 lower-case hexadecimal digits over the UTF-8 of the text after
// every CR LF became LF (the Taobao H5 gateway's signature rule).
QString Md5HexUtf8(QStringView text);

}  // namespace prunko
