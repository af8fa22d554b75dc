#pragma once
// Internal: addresses on the configured FTP server.

#include <string>
#include <string_view>

#include "persist/remote/remote_result.h"

namespace mirel::detail {

// "ftp://<server>/<path>" with the path percent-encoded ("/" kept). A path
// beginning with "/" is absolute on the server, others are relative to the
// login folder. Fails with "没指定服务器IP地址。" for an empty server and
// refuses server texts that are not a host name or address with an optional
// port, and paths with control characters.
RemoteResult<std::string> BuildFtpUrl(std::string_view server, std::string_view path);

}  // namespace mirel::detail
