#include "sandbox/alimama_stand_in.h"

#include "sandbox/embedded_files.h"
#include "sandbox/reply_json.h"

namespace prunko::sandbox {
namespace {

constexpr char kBusyPage[] = "<html><body><p>亲，访问的人太多了，我们就算忙到挂水也要让你进去</p></body></html>";

}  // namespace

AlimamaStandIn::AlimamaStandIn(StandInServer& server) {
  server.Handle(kHomeHost, "GET", "/getLogInfo.htm", [this](const httplib::Request& req, httplib::Response& res) {
    if (Misbehave(res)) return;
    const std::string callback = req.get_param_value("callback");
    if (!LoggedIn(req)) {
      return res.set_content(callback + R"(({"success":false,"data":{"noLogin":true}}))", "text/javascript");
    }
    // The site writes the nick's characters as \u escapes, their backslash doubled.
    std::string nick = ReplyJson(true).StartArray().Str(kNick).EndArray().Text();
    nick = nick.substr(2, nick.size() - 4);
    std::string doubled;
    for (const char c : nick) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
    res.set_content(callback + R"(({"success":true,"data":{"memberID":)" + std::to_string(kMemberId) +
                        R"(,"nickName":")" + doubled + R"(","level":2}}))",
                    "text/javascript");
  });

  server.Handle(kPubHost, "GET", "/common/getUnionPubContextInfo.json",
                 [this](const httplib::Request& req, httplib::Response& res) {
                   if (Misbehave(res)) return;
                   if (!LoggedIn(req)) return res.set_content(R"({"data":{"noLogin":true},"ok":true})", "application/json");
                   res.set_content(ReplyJson()
                                       .StartObject()
                                       .Key("data").StartObject()
                                       .Key("memberid").Int(kMemberId)
                                       .Key("mmNick").Str(kNick)
                                       .Key("noLogin").Str("false")
                                       .EndObject()
                                       .Key("ok").Str("true")
                                       .EndObject()
                                       .Text(),
                                   "application/json");
                 });

  server.Handle(kPubHost, "GET", "/report/getTbkPaymentDetails.json",
                 [this](const httplib::Request& req, httplib::Response& res) {
                   if (Misbehave(res)) return;
                   const bool complete = req.get_param_value("queryType") == "1" && req.has_param("payStatus") &&
                                         req.get_param_value("DownloadID") == "DOWNLOAD_REPORT_INCOME_NEW" &&
                                         !req.get_param_value("startTime").empty() &&
                                         !req.get_param_value("endTime").empty();
                   if (!complete) return res.set_content(StatusReply(400, "参数错误"), "application/json");
                   if (!LoggedIn(req)) return LoginPage(res);  // saved as the .xls, as the real site does
                   res.set_content(SeedOrderReport(), "application/vnd.ms-excel");
                 });

  server.Handle(kSecurityHost, "GET", "/deny.html", Reply(200, "<html>访问受限</html>"));
  server.Handle(kMediaHost, "GET", "/user/limit_status.htm", Reply(200, "<html>请完成实名认证</html>"));
  server.Handle(kHomeHost, "GET", "/index.htm", Reply(200, "<html>阿里妈妈</html>"));
}

std::string AlimamaStandIn::SessionCookie() {
  return std::string("cookie2=1c2d3e4f5a6b; _tb_token_=") + kToken + "; t=9a8b7c; cna=abcDEF";
}

Endpoints AlimamaStandIn::SandboxEndpoints(const Endpoints& base) const {
  Endpoints e = base;
  e.alimama_root_domain = kRootDomain;
  e.alimama_pub_host = kPubHost;
  e.alimama_home_host = kHomeHost;
  e.alimama_media_host = kMediaHost;
  e.alimama_security_host = kSecurityHost;
  e.taobao_root_domain = kTaobaoRootDomain;
  return e;
}

bool AlimamaStandIn::LoggedIn(const httplib::Request& req) const {
  const std::string cookie = req.get_header_value("Cookie");
  return cookie.find("cookie2=1c2d3e4f5a6b") != std::string::npos &&
         cookie.find(std::string("_tb_token_=") + kToken) != std::string::npos;
}

bool AlimamaStandIn::Misbehave(httplib::Response& res) const {
  // Redirects name the hosts without a port, as the real site does; the
  // client's host map brings them back here.
  const std::string base = "http://";
  switch (misbehaviour_.load()) {
    case Misbehaviour::kNone:
      return false;
    case Misbehaviour::kBusy:
      res.set_content(kBusyPage, "text/html; charset=utf-8");
      return true;
    case Misbehaviour::kDeny:
      RedirectTo(base + kSecurityHost + "/deny.html")({}, res);
      return true;
    case Misbehaviour::kLimitStatus:
      RedirectTo(base + kMediaHost + "/user/limit_status.htm")({}, res);
      return true;
    case Misbehaviour::kLoggedOut:
      LoginPage(res);
      return true;
  }
  return false;
}

void AlimamaStandIn::LoginPage(httplib::Response& res) const {
  res.set_content(R"(<html><body><iframe id="taobaoLoginIfr" src="https://login.taobao.test/member/login.jhtml"></iframe></body></html>)",
                  "text/html; charset=utf-8");
}

}  // namespace prunko::sandbox
