#pragma once
// Internal: one libcurl easy handle with the settings every transfer shares
// (time-outs, allowed protocols, proxy, progress and cancelling).

#include <curl/curl.h>

#include <string>
#include <string_view>
#include <vector>

#include "persist/remote/transfer_options.h"

namespace mirel::detail {

// A curl string list, freed on destruction.
class CurlList {
 public:
  CurlList() = default;
  ~CurlList();
  CurlList(const CurlList&) = delete;
  CurlList& operator=(const CurlList&) = delete;
  bool Append(const std::string& line);
  curl_slist* get() const { return list_; }

 private:
  curl_slist* list_ = nullptr;
};

class CurlSession {
 public:
  CurlSession();
  ~CurlSession();
  CurlSession(const CurlSession&) = delete;
  CurlSession& operator=(const CurlSession&) = delete;

  bool ok() const { return curl_ != nullptr; }
  CURL* handle() const { return curl_; }

  // Clears the options of the previous request (the open connection stays)
  // and applies the shared ones. `protocols` is a curl protocol list such as
  // "http,https,ftp"; `upload` picks which byte counts reach the progress
  // callback.
  void Prepare(const TransferOptions& options, const TransferProgress* progress,
               const char* protocols, bool upload);

  CURLcode Perform();

  // The library's text for the last failure of `code`.
  std::string Detail(CURLcode code) const;
  // True when the progress callback asked to stop (or threw).
  bool cancelled() const { return cancelled_; }

 private:
  static int OnProgress(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                        curl_off_t ulnow);

  CURL* curl_ = nullptr;
  char errbuf_[CURL_ERROR_SIZE] = {};
  const TransferProgress* progress_ = nullptr;
  bool upload_ = false;
  bool cancelled_ = false;
};

// Percent-encodes every byte of `text` outside the URL's unreserved set,
// keeping the bytes listed in `keep` as they are.
std::string UrlEncode(std::string_view text, std::string_view keep);

}  // namespace mirel::detail
