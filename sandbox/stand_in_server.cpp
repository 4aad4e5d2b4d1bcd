#include "sandbox/stand_in_server.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <QFile>

#include <algorithm>
#include <chrono>

#include "net/http_settings.h"

namespace prunko::sandbox {
namespace {

std::string HostWithoutPort(const std::string& host) {
  const size_t colon = host.rfind(':');
  return colon == std::string::npos ? host : host.substr(0, colon);
}

struct X509Deleter {
  void operator()(X509* x) const { X509_free(x); }
};
struct KeyDeleter {
  void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};

}  // namespace

std::string RecordedRequest::Header(const std::string& name) const {
  for (const auto& [key, value] : headers) {
    if (std::equal(key.begin(), key.end(), name.begin(), name.end(),
                   [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
      return value;
    }
  }
  return {};
}

StandInServer::StandInServer(Scheme scheme) : scheme_(scheme) {}

StandInServer::~StandInServer() { Stop(); }

void StandInServer::Handle(const std::string& host, const std::string& method, const std::string& path,
                           Handler handler) {
  std::lock_guard lock(mutex_);
  handlers_[{host, method, path}] = std::move(handler);
  if (std::find(hosts_.begin(), hosts_.end(), host) == hosts_.end()) hosts_.push_back(host);
}

bool StandInServer::MakeCertificate() {
  std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_EC_gen("P-256"));
  std::unique_ptr<X509, X509Deleter> cert(X509_new());
  if (!key || !cert) return false;
  X509* x = cert.get();
  X509_set_version(x, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(x), static_cast<long>(std::random_device{}() & 0x7FFFFFFF));
  X509_gmtime_adj(X509_getm_notBefore(x), -3600);
  X509_gmtime_adj(X509_getm_notAfter(x), 60L * 60 * 24 * 30);
  X509_set_pubkey(x, key.get());
  X509_NAME* name = X509_get_subject_name(x);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("Pradelunko sandbox"),
                             -1, -1, 0);
  X509_set_issuer_name(x, name);
  std::string names = "DNS:localhost,IP:127.0.0.1";
  for (const std::string& host : hosts_) names += ",DNS:" + host;
  X509V3_CTX ctx;
  X509V3_set_ctx(&ctx, x, x, nullptr, nullptr, 0);
  for (const auto& [nid, value] : {std::pair{NID_subject_alt_name, names}, std::pair{NID_basic_constraints,
                                                                                     std::string("critical,CA:TRUE")}}) {
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str());
    if (!ext) return false;
    X509_add_ext(x, ext, -1);
    X509_EXTENSION_free(ext);
  }
  if (X509_sign(x, key.get(), EVP_sha256()) == 0) return false;

  // The client trusts the certificate through a file.
  BIO* bio = BIO_new(BIO_s_mem());
  PEM_write_bio_X509(bio, x);
  char* pem = nullptr;
  const long size = BIO_get_mem_data(bio, &pem);
  cert_path_ = cert_dir_.filePath("sandbox-ca.pem");
  QFile file(cert_path_);
  const bool saved = file.open(QIODevice::WriteOnly) && file.write(pem, size) == size;
  BIO_free(bio);
  if (!saved) return false;
  server_ = std::make_unique<httplib::SSLServer>(x, key.get());
  return true;
}

bool StandInServer::Start() {
  if (server_) return false;
  stopping_.Reset();
  if (scheme_ == Scheme::kHttps) {
    std::lock_guard lock(mutex_);
    if (!MakeCertificate()) return false;
  } else {
    server_ = std::make_unique<httplib::Server>();
  }
  if (!server_->is_valid()) return false;
  const auto dispatch = [this](const httplib::Request& req, httplib::Response& res) { Dispatch(req, res); };
  server_->Get(".*", dispatch);
  server_->Post(".*", dispatch);
  server_->Put(".*", dispatch);
  server_->Delete(".*", dispatch);
  port_ = server_->bind_to_any_port("127.0.0.1");
  if (port_ <= 0) return false;
  listener_ = std::thread([this] { server_->listen_after_bind(); });
  // A stop before the accept loop runs would be missed and leave it running.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!server_->is_running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return server_->is_running();
}

void StandInServer::Stop() {
  stopping_.Set();
  if (server_) server_->stop();
  if (listener_.joinable()) listener_.join();
  server_.reset();
}

std::string StandInServer::BaseUrl(const std::string& host) const {
  return (scheme_ == Scheme::kHttps ? "https://" : "http://") + host + ":" + std::to_string(port_);
}

void StandInServer::RouteClient() const {
  HttpSettings settings = CurrentHttpSettings();
  std::lock_guard lock(mutex_);
  for (const std::string& host : hosts_) {
    if (host.front() == '*') continue;  // named one by one with RouteClientHost
    settings.connect_to.insert(QString::fromStdString(host), QStringLiteral("127.0.0.1:%1").arg(port_));
  }
  if (scheme_ == Scheme::kHttps) settings.ca_file = cert_path_;
  SetHttpSettings(settings);
}

void StandInServer::RouteClientHost(const std::string& host) const {
  HttpSettings settings = CurrentHttpSettings();
  settings.connect_to.insert(QString::fromStdString(host), QStringLiteral("127.0.0.1:%1").arg(port_));
  SetHttpSettings(settings);
}

std::vector<std::string> StandInServer::hosts() const {
  std::lock_guard lock(mutex_);
  return hosts_;
}

std::vector<RecordedRequest> StandInServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void StandInServer::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

void StandInServer::Dispatch(const httplib::Request& request, httplib::Response& response) {
  RecordedRequest seen{request.method, HostWithoutPort(request.get_header_value("Host")), request.path,
                       request.target, request.body, request.headers};
  Handler handler;
  {
    std::lock_guard lock(mutex_);
    auto it = handlers_.find({seen.host, seen.method, seen.path});
    // "*.example.test" serves every name below example.test.
    for (size_t dot = seen.host.find('.'); it == handlers_.end() && dot != std::string::npos;
         dot = seen.host.find('.', dot + 1)) {
      it = handlers_.find({"*" + seen.host.substr(dot), seen.method, seen.path});
    }
    if (it != handlers_.end()) handler = it->second;
    requests_.push_back(std::move(seen));
  }
  if (!handler) {
    response.status = 404;
    response.set_content("no stand-in for this address", "text/plain");
    return;
  }
  handler(request, response);
}

Handler Reply(int status, std::string body, std::string content_type) {
  return [=](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_content(body, content_type);
  };
}

Handler RedirectTo(std::string location, int status) {
  return [=](const httplib::Request&, httplib::Response& res) {
    res.status = status;
    res.set_header("Location", location);
    res.set_content("moved", "text/html");
  };
}

Handler WithCookies(std::vector<std::string> set_cookie_values, Handler inner) {
  return [=](const httplib::Request& req, httplib::Response& res) {
    inner(req, res);
    for (const std::string& value : set_cookie_values) res.headers.emplace("Set-Cookie", value);
  };
}

Handler InPieces(std::vector<std::string> pieces, std::function<void()> between) {
  return [=](const httplib::Request&, httplib::Response& res) {
    auto next = std::make_shared<size_t>(0);
    res.set_chunked_content_provider("application/octet-stream", [=](size_t, httplib::DataSink& sink) {
      if (*next >= pieces.size()) {
        sink.done();
        return true;
      }
      if (*next > 0 && between) between();
      const std::string& piece = pieces[(*next)++];
      return sink.write(piece.data(), piece.size());
    });
  };
}

Handler Silent(StandInServer& server) {
  return [&server](const httplib::Request&, httplib::Response& res) {
    server.stopping().WaitRealFor(60000);
    res.status = 503;
  };
}

}  // namespace prunko::sandbox
