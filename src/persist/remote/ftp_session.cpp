#include "persist/remote/ftp_session.h"

#include "persist/remote/remote_messages.h"

namespace mirel::detail {

void PrepareFtp(CurlSession& session, const std::string& url, const FtpServer& server,
                const TransferOptions& options, const TransferProgress* progress, bool upload) {
  session.Prepare(options, progress, "ftp", upload);
  CURL* curl = session.handle();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  if (!server.user.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, server.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, server.password.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
  // Never change folder: every command names its file by the full path from
  // the login folder, so commands on a reused connection mean the same.
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  if (server.passive) {
    curl_easy_setopt(curl, CURLOPT_FTPPORT, nullptr);
    // Connect to the control connection's address whatever PASV says, so a
    // server cannot point the data connection elsewhere.
    curl_easy_setopt(curl, CURLOPT_FTP_SKIP_PASV_IP, 1L);
  } else {
    curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
  }
  curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS,
                   static_cast<long>(options.connectTimeout.count()));
}

bool FailedBeforeLogin(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_LOGIN_DENIED:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
      return true;
    default:
      return false;
  }
}

RemoteError MapFtpFailure(CURLcode code, const CurlSession& session,
                          std::string_view failedMessage) {
  using K = RemoteErrorKind;
  std::string detail = session.Detail(code);
  switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
      return MakeRemoteError(K::Cancelled, remote_msg::kCancelled, std::move(detail));
    case CURLE_OPERATION_TIMEDOUT:
      return MakeRemoteError(K::TimedOut, remote_msg::kTimedOut, std::move(detail));
    case CURLE_FILESIZE_EXCEEDED:
      return MakeRemoteError(K::TooLarge, remote_msg::kTooLarge, std::move(detail));
    case CURLE_LOGIN_DENIED:
      return MakeRemoteError(K::AuthFailed, remote_msg::kLoginFailed, std::move(detail));
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_FTP_PORT_FAILED:
    case CURLE_FTP_WEIRD_PASV_REPLY:
    case CURLE_FTP_WEIRD_227_FORMAT:
    case CURLE_FTP_CANT_GET_HOST:
      return MakeRemoteError(K::ConnectFailed, remote_msg::kConnectFailed, std::move(detail));
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_FTP_COULDNT_RETR_FILE:
    case CURLE_REMOTE_ACCESS_DENIED:
      return MakeRemoteError(K::NotFound, failedMessage, std::move(detail));
    default:
      return MakeRemoteError(K::ServerError, failedMessage, std::move(detail));
  }
}

}  // namespace mirel::detail
