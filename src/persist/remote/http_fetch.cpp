#include "persist/remote/http_fetch.h"

#include <memory>
#include <string>

#include "persist/remote/curl_session.h"
#include "persist/remote/download_sink.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/remote_name.h"

namespace mirel {
namespace {

using detail::CurlSession;
using detail::DownloadSink;

constexpr const char* kAllowedProtocols = "http,https,ftp";

RemoteError Refused(std::string detail) {
  return MakeRemoteError(RemoteErrorKind::RefusedScheme, remote_msg::kRefusedAddress,
                         std::move(detail));
}

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// Checks the address and returns it in the form sent to the server: spaces
// and non-ASCII bytes percent-encoded; control characters refused; only
// http, https and ftp accepted.
RemoteResult<std::string> NormalizeUrl(std::string_view url) {
  std::string escaped;
  escaped.reserve(url.size());
  for (char c : url) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return Refused("control character in address");
    if (u >= 0x80 || c == ' ') {
      escaped += detail::UrlEncode(std::string_view(&c, 1), "");
    } else {
      escaped.push_back(c);
    }
  }
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  if (!handle) return Refused("out of memory");
  const CURLUcode rc = curl_url_set(handle.get(), CURLUPART_URL, escaped.c_str(),
                                    CURLU_NON_SUPPORT_SCHEME);
  if (rc != CURLUE_OK) return Refused(curl_url_strerror(rc));
  char* scheme = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) {
    return Refused("no scheme");
  }
  const std::string lower = scheme;  // curl hands the scheme back in lower case
  curl_free(scheme);
  if (lower != "http" && lower != "https" && lower != "ftp") {
    return Refused("scheme not allowed: " + lower);
  }
  char* full = nullptr;
  if (curl_url_get(handle.get(), CURLUPART_URL, &full, 0) != CURLUE_OK) {
    return Refused("malformed address");
  }
  std::string result = full;
  curl_free(full);
  return result;
}

RemoteError MapFailure(CURLcode code, const CurlSession& session, const DownloadSink& sink) {
  using K = RemoteErrorKind;
  std::string detail = session.Detail(code);
  if (code == CURLE_WRITE_ERROR) {
    switch (sink.stop()) {
      case DownloadSink::Stop::TooLarge:
        return MakeRemoteError(K::TooLarge, remote_msg::kTooLarge, std::move(detail));
      case DownloadSink::Stop::MissingPage:
        return MakeRemoteError(K::NotFound, remote_msg::kFileNotFound, "missing-file page");
      case DownloadSink::Stop::WriteFailed:
      case DownloadSink::Stop::None:
        return MakeRemoteError(K::LocalFileError, remote_msg::kLocalFileFailed, std::move(detail));
    }
  }
  switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
      return MakeRemoteError(K::Cancelled, remote_msg::kCancelled, std::move(detail));
    case CURLE_OPERATION_TIMEDOUT:
      return MakeRemoteError(K::TimedOut, remote_msg::kTimedOut, std::move(detail));
    case CURLE_FILESIZE_EXCEEDED:
      return MakeRemoteError(K::TooLarge, remote_msg::kTooLarge, std::move(detail));
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
      return MakeRemoteError(K::RefusedScheme, remote_msg::kRefusedAddress, std::move(detail));
    case CURLE_HTTP_RETURNED_ERROR: {
      long status = 0;
      curl_easy_getinfo(session.handle(), CURLINFO_RESPONSE_CODE, &status);
      return MakeRemoteError(status >= 500 ? K::ServerError : K::NotFound,
                             remote_msg::kFileNotFound, std::move(detail));
    }
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
      return MakeRemoteError(K::NotFound, remote_msg::kFileNotFound, std::move(detail));
    case CURLE_LOGIN_DENIED:
      return MakeRemoteError(K::AuthFailed, remote_msg::kLoginFailed, std::move(detail));
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
      return MakeRemoteError(K::ConnectFailed, remote_msg::kCannotOpenAddress, std::move(detail));
    default:
      return MakeRemoteError(K::ServerError, remote_msg::kCannotOpenAddress, std::move(detail));
  }
}

}  // namespace

RemoteResult<FetchedFile> FetchHttp(std::string_view url, const TempFolder& folder,
                                    const TransferOptions& options,
                                    const TransferProgress& progress) {
  RemoteResult<std::string> name = ResolveRemoteName(url);
  if (!name) return name.error();
  RemoteResult<std::string> normalized = NormalizeUrl(url);
  if (!normalized) return normalized.error();
  const std::optional<std::filesystem::path> target = folder.FilePath(name.value());
  if (!target) {
    return MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kLocalFileFailed,
                           "no temporary folder");
  }

  CurlSession session;
  DownloadSink sink(folder.path(), options.maxBytes, /*sniffMissingPage=*/true);
  if (!session.ok() || !sink.ok()) {
    return MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kLocalFileFailed,
                           "cannot start the download");
  }

  detail::CurlList headers;
  headers.Append("Cache-Control: no-cache");
  headers.Append("Pragma: no-cache");

  CURL* curl = session.handle();
  session.Prepare(options, &progress, kAllowedProtocols, /*upload=*/false);
  curl_easy_setopt(curl, CURLOPT_URL, normalized.value().c_str());
  curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, options.maxRedirects);
  curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &DownloadSink::Write);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

  const CURLcode rc = session.Perform();
  if (rc != CURLE_OK) return MapFailure(rc, session, sink);
  if (!sink.Finish()) return MapFailure(CURLE_WRITE_ERROR, session, sink);
  if (!sink.CommitAs(*target)) return MapFailure(CURLE_WRITE_ERROR, session, sink);
  return FetchedFile{*target, std::move(name).value()};
}

}  // namespace mirel
