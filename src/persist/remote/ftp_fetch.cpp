#include "persist/remote/download_sink.h"
#include "persist/remote/ftp_session.h"
#include "persist/remote/ftp_transfer.h"
#include "persist/remote/ftp_url.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/remote_name.h"

namespace mirel {

RemoteResult<FetchedFile> FetchFtp(std::string_view remotePath, const FtpServer& server,
                                   const TempFolder& folder, const TransferOptions& options,
                                   const TransferProgress& progress) {
  RemoteResult<std::string> name = ResolveRemotePathName(remotePath);
  if (!name) return name.error();
  RemoteResult<std::string> url = detail::BuildFtpUrl(server.address, remotePath);
  if (!url) return url.error();
  const std::optional<std::filesystem::path> target = folder.FilePath(name.value());
  if (!target) {
    return MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kLocalFileFailed,
                           "no temporary folder");
  }

  detail::CurlSession session;
  detail::DownloadSink sink(folder.path(), options.maxBytes, /*sniffMissingPage=*/false);
  if (!session.ok() || !sink.ok()) {
    return MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kLocalFileFailed,
                           "cannot start the download");
  }
  detail::PrepareFtp(session, url.value(), server, options, &progress, /*upload=*/false);
  CURL* curl = session.handle();
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(options.maxBytes));
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &detail::DownloadSink::Write);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);

  const CURLcode rc = session.Perform();
  bool stored = rc == CURLE_OK && sink.Finish() && sink.CommitAs(*target);
  if (stored) return FetchedFile{*target, std::move(name).value()};

  if (sink.stop() == detail::DownloadSink::Stop::TooLarge) {
    return MakeRemoteError(RemoteErrorKind::TooLarge, remote_msg::kTooLarge, session.Detail(rc));
  }
  if (rc == CURLE_OK || sink.stop() == detail::DownloadSink::Stop::WriteFailed) {
    return MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kLocalFileFailed,
                           session.Detail(rc));
  }
  return detail::MapFtpFailure(rc, session, remote_msg::kOpenFileFailed);
}

}  // namespace mirel
