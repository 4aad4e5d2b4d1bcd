#include "core/text_convert.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "core/string_util.h"

namespace prunko {
namespace {

// The name of the ANSI code page; empty means the platform's own (the system
// code page on Windows, UTF-8 elsewhere). A generation number tells each
// thread's cached converters that the setting changed.
std::mutex code_page_mutex;
QByteArray code_page_name;
std::atomic<int> code_page_generation{0};

QByteArray CurrentCodePageName() {
  std::lock_guard lock(code_page_mutex);
  return code_page_name;
}

bool IsUtf8Name(const QByteArray& name) {
  const QByteArray n = name.toLower();
  return n == "utf-8" || n == "utf8";
}

// Converters are stateful and not thread-safe, so each thread keeps its own.
struct ThreadConverters {
  int generation = -1;
  bool utf8 = true;
  std::optional<QStringDecoder> decoder;
  std::optional<QStringEncoder> encoder;

  void Refresh() {
    const int now = code_page_generation.load(std::memory_order_acquire);
    if (generation == now) return;
    generation = now;
    const QByteArray name = CurrentCodePageName();
    decoder.reset();
    encoder.reset();
    if (name.isEmpty()) {
#ifdef Q_OS_WIN
      utf8 = false;
      decoder.emplace(QStringConverter::System);
      encoder.emplace(QStringConverter::System);
#else
      utf8 = true;
#endif
      return;
    }
    utf8 = IsUtf8Name(name);
    if (!utf8) {
      decoder.emplace(name.constData());
      encoder.emplace(name.constData());
    }
  }
};

ThreadConverters& Converters() {
  thread_local ThreadConverters converters;
  converters.Refresh();
  return converters;
}

QByteArray UpToNul(const QByteArray& bytes) {
  const qsizetype nul = bytes.indexOf('\0');
  return nul < 0 ? bytes : bytes.left(nul);
}

QStringView UpToNul(QStringView text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  return nul < 0 ? text : text.left(nul);
}

int HexValue(char c) {
  const int value = DigitValue(static_cast<unsigned char>(c));
  return value < 16 ? value : -1;
}

}  // namespace

bool SetAnsiCodePage(const QByteArray& name) {
  if (!IsUtf8Name(name) && !QStringDecoder(name.constData()).isValid()) return false;
  {
    std::lock_guard lock(code_page_mutex);
    code_page_name = name;
  }
  code_page_generation.fetch_add(1, std::memory_order_release);
  return true;
}

void ResetAnsiCodePage() {
  {
    std::lock_guard lock(code_page_mutex);
    code_page_name.clear();
  }
  code_page_generation.fetch_add(1, std::memory_order_release);
}

QString AnsiToWide(const QByteArray& ansi) {
  const QByteArray bytes = UpToNul(ansi);
  ThreadConverters& c = Converters();
  if (c.utf8) return QString::fromUtf8(bytes);
  return c.decoder->decode(bytes);
}

QByteArray WideToAnsi(QStringView wide) {
  const QStringView text = UpToNul(wide);
  ThreadConverters& c = Converters();
  if (c.utf8) return text.toUtf8();
  // Unmappable characters come out as the code page's "?".
  return c.encoder->encode(text);
}

QByteArray AnsiToUtf8(const QByteArray& ansi) {
  ThreadConverters& c = Converters();
  if (c.utf8) return QString::fromUtf8(UpToNul(ansi)).toUtf8();
  return AnsiToWide(ansi).toUtf8();
}

QByteArray Utf8ToAnsi(const QByteArray& utf8) {
  return WideToAnsi(QString::fromUtf8(UpToNul(utf8)));
}

qint32 WideToLong(QStringView wide) {
  const QByteArray narrow = WideToAnsi(wide);
  const long long value = std::strtoll(narrow.constData(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<qint32>(value);
}

QString UnescapeUnicode(const QByteArray& narrow) {
  const QByteArray bytes = UpToNul(narrow);
  QString out;
  out.reserve(bytes.size());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n; ++i) {
    const char c = bytes[i];
    if (c == '\\' && i + 5 < n && (bytes[i + 1] == 'u' || bytes[i + 1] == 'U')) {
      int value = 0;
      bool hex = true;
      for (int k = 2; k < 6 && hex; ++k) {
        const int digit = HexValue(bytes[i + k]);
        hex = digit >= 0;
        value = value * 16 + digit;
      }
      if (hex) {
        out.append(QChar(static_cast<char16_t>(value)));
        i += 5;
        continue;
      }
    }
    const auto byte = static_cast<unsigned char>(c);
    out.append(QChar(static_cast<char16_t>(byte < 0x80 ? byte : 0xFF00 + byte)));
  }
  return out;
}

QByteArray Utf8OfUnits(QStringView wide) {
  QByteArray out;
  out.reserve(wide.size() * 3);
  const qsizetype n = wide.size();
  for (qsizetype i = 0; i < n; ++i) {
    char32_t cp = wide[i].unicode();
    if (QChar::isHighSurrogate(cp) && i + 1 < n && wide[i + 1].isLowSurrogate()) {
      cp = QChar::surrogateToUcs4(wide[i].unicode(), wide[i + 1].unicode());
      ++i;
    }
    if (cp < 0x80) {
      out.append(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.append(static_cast<char>(0xC0 | (cp >> 6)));
      out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.append(static_cast<char>(0xE0 | (cp >> 12)));
      out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.append(static_cast<char>(0xF0 | (cp >> 18)));
      out.append(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.append(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.append(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace prunko
