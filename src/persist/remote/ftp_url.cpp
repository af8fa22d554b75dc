#include "persist/remote/ftp_url.h"

#include "persist/remote/curl_session.h"
#include "persist/remote/remote_messages.h"

namespace mirel::detail {
namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsServerChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '.' || c == '-' || c == '_' || c == ':' || c == '[' || c == ']';
}

}  // namespace

RemoteResult<std::string> BuildFtpUrl(std::string_view server, std::string_view path) {
  server = Trim(server);
  // People type the server as "ftp://host/" too.
  if (server.size() >= 6 && (server.substr(0, 6) == "ftp://" || server.substr(0, 6) == "FTP://")) {
    server.remove_prefix(6);
  }
  while (!server.empty() && server.back() == '/') server.remove_suffix(1);
  if (server.empty()) return MakeRemoteError(RemoteErrorKind::NoServer, remote_msg::kNoServer);
  if (server.size() > 255) {
    return MakeRemoteError(RemoteErrorKind::ConnectFailed, remote_msg::kConnectFailed,
                           "server address too long");
  }
  for (char c : server) {
    if (!IsServerChar(c)) {
      return MakeRemoteError(RemoteErrorKind::ConnectFailed, remote_msg::kConnectFailed,
                             "invalid server address");
    }
  }
  for (char c : path) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      return MakeRemoteError(RemoteErrorKind::BadName, remote_msg::kBadFileName,
                             "control character in remote name");
    }
  }
  return "ftp://" + std::string(server) + "/" + UrlEncode(path, "/");
}

}  // namespace mirel::detail
