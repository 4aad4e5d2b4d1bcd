#include "alimama/link_conversion.h"

#include <QRegularExpression>

#include "alimama/alimama_session.h"
#include "alimama/replies.h"
#include "core/clock.h"
#include "core/digest.h"
#include "core/format.h"
#include "core/json_reply.h"
#include "core/string_util.h"
#include "core/text_convert.h"
#include "core/url_util.h"
#include "net/cookie_store.h"
#include "net/endpoints.h"

namespace prunko {
namespace {

constexpr char16_t kGatewayAppKey[] = u"30691825";

// The system tick count, as the site's "t" parameters carry it.
long TickParameter() { return static_cast<long>(CurrentClock().TickCount()); }

// The getAuctionCode / urltrans reply: the Tao password and the short link.
int ReadAffiliateLink(const QString& url, QString& tao_password, QString& short_link) {
  HttpResponse r;
  const QString pub = QStringLiteral("http://") + CurrentEndpoints().alimama_pub_host;
  if (!HttpClient().Get(url, pub, CurrentAlimamaSession().cookie, r)) return kAlimamaNetworkError;
  return ReadAffiliateLinkReply(r, tao_password, short_link);
}

}  // namespace

bool ParsePid(const QString& pid, QString& site_id, QString& adzone_id) {
  static const QRegularExpression pattern(QStringLiteral(R"(mm_\d+_(\d+)_(\d+))"));
  const QRegularExpressionMatch m = pattern.match(pid);
  if (!m.hasMatch()) return false;
  site_id = m.captured(1);
  adzone_id = m.captured(2);
  return true;
}

int GetAuctionCode(qint64 item_id, const QString& pid, QString& tao_password, QString& short_link) {
  QString site, adzone;
  if (!ParsePid(pid, site, adzone)) return kAlimamaUnrecognised;
  const QString url = FormatString(
      u"http://%s/common/code/getAuctionCode.json?auctionid=%lld&siteid=%s&adzoneid=%s&scenes=1&t=%ld&_tb_token_=%s",
      CurrentEndpoints().alimama_pub_host, item_id, site, adzone, TickParameter(), CurrentAlimamaSession().tbToken);
  return ReadAffiliateLink(url, tao_password, short_link);
}

int UrlTransForOfficial(const QString& pid, const QString& address, QString& tao_password, QString& short_link) {
  QString site, adzone;
  if (!ParsePid(pid, site, adzone)) return kAlimamaUnrecognised;
  const QString url = FormatString(
      u"http://%s/urltrans/urltransForOfficial.json?siteid=%s&adzoneid=%s&promotionURL=%s&eventId=2016032001"
      u"&invokerId=8612510098&t=%ld&_tb_token_=%s&_input_charset=utf-8",
      CurrentEndpoints().alimama_pub_host, site, adzone, UrlEncode(address), TickParameter(),
      CurrentAlimamaSession().tbToken);
  return ReadAffiliateLink(url, tao_password, short_link);
}

int MtopCall(HttpResponse& response, bool with_taobao_cookie, const QString& api, const QString& given_version,
             const QString& data) {
  const QString version = given_version.isEmpty() ? QStringLiteral("1.0") : given_version;
  const QString base = FormatString(u"http://%s/h5/%s/%s/?v=%s&api=%s&appKey=%s", CurrentEndpoints().h5_gateway, api,
                                    version, version, api, kGatewayAppKey);
  const QString taobao_cookie = with_taobao_cookie ? CurrentAlimamaSession().taobaoCookie : QString();
  HttpResponse token_reply;
  if (!HttpClient().Get(base + FormatString(u"&t=%ld", TickParameter()), QString(), taobao_cookie, token_reply)) {
    return kAlimamaNetworkError;
  }
  if (token_reply.raw_headers.isEmpty()) return kAlimamaBadReply;
  const QString pairs = AnsiToWide(token_reply.set_cookies);
  QString token_cookie;
  if (!GetCookieValue(pairs, u"_m_h5_tk", token_cookie) || token_cookie.isEmpty() || !token_cookie.contains(u'_')) {
    return kAlimamaBadReply;
  }
  const QString token = SplitString(token_cookie, u"_").value(0);
  const long t2 = TickParameter();
  const QString sign = Md5HexUtf8(FormatString(u"%s&%ld&%s&%s", token, t2, kGatewayAppKey, data));
  const QString url = base + FormatString(u"&t=%ld&sign=%s&data=", t2, sign) + UrlEncode(data);
  return HttpClient().Get(url, QString(), pairs + taobao_cookie, response) ? kAlimamaOk : kAlimamaNetworkError;
}

int CreateTaoPassword(const QString& address, const QString& text, const QString& picture, QString& tao_password) {
  const QString pwd_text = text.isEmpty() ? QStringLiteral("一张内部有优惠券") : text;
  const QString pic = picture.isEmpty() ? QStringLiteral("https://") + CurrentEndpoints().image_cdn +
                                              QStringLiteral("/tps/i3/T1OjaVFl4dXXa.JOZB-114-114.png")
                                        : picture;
  const QString data = QStringLiteral("{\"url\":\"") + JsonEscaped(address) +
                       QStringLiteral("\",\"password\":\"tao\",\"pwdText\":\"") + JsonEscaped(pwd_text) +
                       QStringLiteral("\",\"pwdPicUrl\":\"") + JsonEscaped(pic) + QStringLiteral("\"}");
  HttpResponse r;
  MtopCall(r, true, QStringLiteral("mtop.alimama.moon.taotoken.getToken"), QStringLiteral("1.0"), data);
  return ReadTaoTokenReply(r, tao_password);
}

int ResolveTaoPassword(const QString& tao_password, QString& address) {
  const QString data = QStringLiteral("{\"passwordText\":\"") + JsonEscaped(tao_password) +
                       QStringLiteral("\",\"passwordType\":\"tao\"}");
  HttpResponse r;
  MtopCall(r, false, QStringLiteral("mtop.taobao.wireless.share.password.get"), QStringLiteral("1.0"), data);
  return ReadPasswordUrlReply(r, address);
}

int GetItemInfoH5(qint64 item_id, GoodsItem& item, QList<CommissionCampaign>& campaigns) {
  const QString data =
      FormatString(u"{\"url\":\"http://%s/item.htm?id=%lld\"}", CurrentEndpoints().taobao_item_host, item_id);
  HttpResponse r;
  MtopCall(r, false, QStringLiteral("mtop.alimama.moon.provider.edetail.iteminfo.get"), QStringLiteral("1.0"), data);
  return ReadItemInfoReply(r, item, campaigns);
}

int ShortenUrl(const QString& long_url, QString& short_url) {
  const QString url = QStringLiteral("https://") + CurrentEndpoints().weibo_short_url_api +
                      QStringLiteral("/short_url/shorten.json?source=402618375&url_long=") + UrlEncode(long_url);
  HttpResponse r;
  if (!HttpClient().Get(url, QString(), QString(), r)) return kAlimamaNetworkError;
  return ReadShortUrlReply(r, short_url);
}

}  // namespace prunko
