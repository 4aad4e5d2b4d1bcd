#include "net/cookie_store.h"

#include <QUrl>

namespace prunko {
namespace {

bool DomainMatches(const QString& cookie_domain, const QString& host) {
  if (!cookie_domain.startsWith(u'.')) return host.compare(cookie_domain, Qt::CaseInsensitive) == 0;
  const QStringView bare = QStringView(cookie_domain).mid(1);
  return host.compare(bare, Qt::CaseInsensitive) == 0 || host.endsWith(cookie_domain, Qt::CaseInsensitive);
}

bool PathMatches(const QString& cookie_path, const QString& path) {
  if (cookie_path.isEmpty() || cookie_path == u"/") return true;
  if (!path.startsWith(cookie_path)) return false;
  return path.size() == cookie_path.size() || cookie_path.endsWith(u'/') || path[cookie_path.size()] == u'/';
}

bool SameCookie(const BrowserCookie& a, const QString& domain, const QString& path, const QString& name) {
  return a.domain.compare(domain, Qt::CaseInsensitive) == 0 && a.path == path && a.name == name;
}

}  // namespace

void BrowserCookieStore::Set(const BrowserCookie& cookie) {
  std::lock_guard lock(mutex_);
  for (BrowserCookie& c : cookies_) {
    if (SameCookie(c, cookie.domain, cookie.path, cookie.name)) {
      c = cookie;
      return;
    }
  }
  cookies_.append(cookie);
}

void BrowserCookieStore::Remove(const QString& domain, const QString& path, const QString& name) {
  std::lock_guard lock(mutex_);
  cookies_.removeIf([&](const BrowserCookie& c) { return SameCookie(c, domain, path, name); });
}

void BrowserCookieStore::Clear() {
  std::lock_guard lock(mutex_);
  cookies_.clear();
}

QString BrowserCookieStore::CookieHeaderFor(const QString& url) const {
  const QUrl parsed = QUrl::fromUserInput(url);
  const QString host = parsed.host();
  const QString path = parsed.path().isEmpty() ? QStringLiteral("/") : parsed.path();
  const bool https = parsed.scheme() == u"https";
  QString header;
  std::lock_guard lock(mutex_);
  for (const BrowserCookie& c : cookies_) {
    if (!DomainMatches(c.domain, host) || !PathMatches(c.path, path) || (c.secure && !https)) continue;
    if (!header.isEmpty()) header += QStringLiteral("; ");
    header += c.name + u'=' + c.value;
  }
  return header;
}

BrowserCookieStore& BrowserCookies() {
  static BrowserCookieStore store;
  return store;
}

bool GetCookies(const QString& url, QString& cookies) {
  const QString found = BrowserCookies().CookieHeaderFor(url);
  if (found.isEmpty()) return false;
  cookies = found;
  return true;
}

bool GetCookieValue(QStringView cookies, QStringView name, QString& value) {
  const qsizetype at = cookies.indexOf(name.toString() + u'=');
  if (at < 0 || name.isEmpty()) return false;
  const qsizetype start = at + name.size() + 1;
  const qsizetype end = cookies.indexOf(u';', start);
  value = cookies.mid(start, end < 0 ? -1 : end - start).toString();
  return true;
}

}  // namespace prunko
