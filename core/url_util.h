#pragma once

#include <QString>
#include <QStringView>

namespace prunko {

// Keeps A-Z, a-z and 0-9; writes every other character as the "%xx"
// lower-case escapes of its UTF-8 bytes ("-", ".", "_", "~" and the space
// included). A surrogate pair is the one four-byte sequence of its code point.
QString UrlEncode(QStringView text);

// Decodes "%xx" escapes as UTF-8: ASCII bytes directly, two-, three- and
// four-byte sequences into their characters. "+" and every other character
// stay as they are; a "%" without two following characters too.
QString UrlDecode(QStringView text);

// The value of query parameter `name`, undecoded: from the first
// `name` + "=" (which must start the text or follow "?" or "&", or the
// result is empty) up to the next "&", else the next "#", else the end.
QString GetUrlParam(QStringView url, QStringView name);

}  // namespace prunko
