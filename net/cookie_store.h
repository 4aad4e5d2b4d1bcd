#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <mutex>

namespace prunko {

// One cookie of the embedded browser.
struct BrowserCookie {
  QString domain;  // "pub.alimama.com", or ".alimama.com" for the domain and its sub-domains
  QString path = QStringLiteral("/");
  QString name;
  QString value;
  bool secure = false;
  bool http_only = false;
};

// The embedded browser's cookies, shared by the process: the browser window
// fills it, the web logins read it with GetCookies.
class BrowserCookieStore {
 public:
  // Adds or replaces (same domain, path and name) a cookie.
  void Set(const BrowserCookie& cookie);
  void Remove(const QString& domain, const QString& path, const QString& name);
  void Clear();
  // The cookies sent with a request to `url`, HttpOnly ones included, as
  // "name=value; name=value"; empty when none applies.
  QString CookieHeaderFor(const QString& url) const;

 private:
  mutable std::mutex mutex_;
  QList<BrowserCookie> cookies_;
};

BrowserCookieStore& BrowserCookies();

// Reads the browser's cookies for `url`; false, leaving `cookies` as it was,
// when none applies.
bool GetCookies(const QString& url, QString& cookies);

// The value of cookie `name` in a cookie text: from the first `name` + "="
// (wherever it stands) to the next ";" or the end. False when absent.
bool GetCookieValue(QStringView cookies, QStringView name, QString& value);

}  // namespace prunko
