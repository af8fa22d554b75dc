#include "persist/remote/curl_session.h"

#include <mutex>

namespace mirel::detail {
namespace {

void GlobalInitOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

CurlList::~CurlList() { curl_slist_free_all(list_); }

bool CurlList::Append(const std::string& line) {
  curl_slist* grown = curl_slist_append(list_, line.c_str());
  if (grown == nullptr) return false;
  list_ = grown;
  return true;
}

CurlSession::CurlSession() {
  GlobalInitOnce();
  curl_ = curl_easy_init();
}

CurlSession::~CurlSession() {
  if (curl_ != nullptr) curl_easy_cleanup(curl_);
}

void CurlSession::Prepare(const TransferOptions& options, const TransferProgress* progress,
                          const char* protocols, bool upload) {
  curl_easy_reset(curl_);
  errbuf_[0] = '\0';
  progress_ = progress;
  upload_ = upload;
  cancelled_ = false;

  curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, errbuf_);
  curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl_, CURLOPT_PROTOCOLS_STR, protocols);
  curl_easy_setopt(curl_, CURLOPT_REDIR_PROTOCOLS_STR, protocols);
  curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(options.connectTimeout.count()));
  curl_easy_setopt(curl_, CURLOPT_TIMEOUT_MS, static_cast<long>(options.totalTimeout.count()));
  // FTP replies that never come are bounded by the overall time-out too.
  curl_easy_setopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   static_cast<long>((options.connectTimeout.count() + 999) / 1000));
  if (!options.useEnvironmentProxy) curl_easy_setopt(curl_, CURLOPT_NOPROXY, "*");
  curl_easy_setopt(curl_, CURLOPT_USERAGENT, "Lanzhou/0.1");
  curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, &CurlSession::OnProgress);
  curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, this);
  curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
}

CURLcode CurlSession::Perform() { return curl_easy_perform(curl_); }

std::string CurlSession::Detail(CURLcode code) const {
  if (errbuf_[0] != '\0') return std::string(errbuf_);
  return curl_easy_strerror(code);
}

int CurlSession::OnProgress(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                            curl_off_t ulnow) {
  auto* session = static_cast<CurlSession*>(self);
  if (session->progress_ == nullptr || !*session->progress_) return 0;
  const curl_off_t done = session->upload_ ? ulnow : dlnow;
  const curl_off_t total = session->upload_ ? ultotal : dltotal;
  bool go_on = false;
  try {
    go_on = (*session->progress_)(static_cast<std::uint64_t>(done < 0 ? 0 : done),
                                  static_cast<std::uint64_t>(total < 0 ? 0 : total));
  } catch (...) {
    go_on = false;  // an exception must not cross the C library
  }
  if (go_on) return 0;
  session->cancelled_ = true;
  return 1;
}

std::string UrlEncode(std::string_view text, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                            c == '~';
    if (unreserved || keep.find(c) != std::string_view::npos) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 0x0F]);
    }
  }
  return out;
}

}  // namespace mirel::detail
