#pragma once
// Internal: the settings and failure texts every FTP request shares.

#include <string_view>

#include "persist/remote/curl_session.h"
#include "persist/remote/remote_result.h"
#include "persist/remote/transfer_options.h"

namespace mirel::detail {

// Prepares `session` for one request to `url` on `server` (login, binary
// type, passive or active mode).
void PrepareFtp(CurlSession& session, const std::string& url, const FtpServer& server,
                const TransferOptions& options, const TransferProgress* progress, bool upload);

// Maps a failed request. Login and connection failures get their own kinds;
// any other failure of the server gets `failedMessage` (kind NotFound when
// the server reports the file or folder missing).
RemoteError MapFtpFailure(CURLcode code, const CurlSession& session,
                          std::string_view failedMessage);

// True when the failure happened before or during login, so nothing on the
// server can have changed.
bool FailedBeforeLogin(CURLcode code);

}  // namespace mirel::detail
