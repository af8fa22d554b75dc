// Upload and delete on the FTP server.
//
// An upload never writes into the target directly: the bytes go to
// "<name>.uploading-<random>" beside it and are renamed over the target when
// complete. Servers that refuse to rename over an existing file get the old
// file moved aside first and restored when the final rename fails too.

#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>
#include <system_error>

#include "persist/remote/ftp_session.h"
#include "persist/remote/ftp_transfer.h"
#include "persist/remote/ftp_url.h"
#include "persist/remote/remote_messages.h"
#include "persist/remote/remote_name.h"

namespace mirel {
namespace {

using detail::CurlSession;

std::string RandomSuffix() {
  std::random_device device;
  std::uniform_int_distribution<unsigned> digit(0, 15);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (int i = 0; i < 12; ++i) out.push_back(kHex[digit(device)]);
  return out;
}

struct LocalReader {
  std::FILE* file = nullptr;
  bool failed = false;

  static std::size_t Read(char* buffer, std::size_t size, std::size_t count, void* self) {
    auto* reader = static_cast<LocalReader*>(self);
    const std::size_t n = std::fread(buffer, 1, size * count, reader->file);
    if (n == 0 && std::ferror(reader->file)) {
      reader->failed = true;
      return CURL_READFUNC_ABORT;
    }
    return n;
  }
};

// Runs FTP commands (paths from the login folder) without a transfer.
CURLcode RunCommands(CurlSession& session, const std::string& rootUrl, const FtpServer& server,
                     const TransferOptions& options, std::initializer_list<std::string> commands) {
  detail::CurlList list;
  for (const std::string& command : commands) {
    if (!list.Append(command)) return CURLE_OUT_OF_MEMORY;
  }
  detail::PrepareFtp(session, rootUrl, server, options, nullptr, /*upload=*/false);
  curl_easy_setopt(session.handle(), CURLOPT_NOBODY, 1L);
  curl_easy_setopt(session.handle(), CURLOPT_QUOTE, list.get());
  return session.Perform();
}

RemoteError UploadError(std::string detail) {
  return MakeRemoteError(RemoteErrorKind::ServerError, remote_msg::kUploadFailed,
                         std::move(detail));
}

// The upload is complete under `temp` but renaming it over `target` was
// refused. Moves the old target aside, renames, and puts the old one back
// when that fails, so the server always keeps one complete file under `target`.
RemoteStatus ReplaceAfterRefusedRename(CurlSession& session, const std::string& rootUrl,
                                       const FtpServer& server, const TransferOptions& options,
                                       const std::string& temp, const std::string& target) {
  const std::string backup = target + ".previous-" + RandomSuffix();
  if (RunCommands(session, rootUrl, server, options,
                  {"RNFR " + target, "RNTO " + backup}) != CURLE_OK) {
    RunCommands(session, rootUrl, server, options, {"DELE " + temp});
    return UploadError("the server refused to rename the uploaded file");
  }
  if (RunCommands(session, rootUrl, server, options, {"RNFR " + temp, "RNTO " + target}) !=
      CURLE_OK) {
    RunCommands(session, rootUrl, server, options, {"RNFR " + backup, "RNTO " + target});
    RunCommands(session, rootUrl, server, options, {"DELE " + temp});
    return UploadError("the server refused to rename the uploaded file");
  }
  RunCommands(session, rootUrl, server, options, {"DELE " + backup});
  return RemoteOk();
}

}  // namespace

RemoteStatus UploadFtp(const std::filesystem::path& localFile, std::string_view remotePath,
                       const FtpServer& server, const TransferOptions& options,
                       const TransferProgress& progress) {
  if (!ResolveRemotePathName(remotePath)) {
    return MakeRemoteError(RemoteErrorKind::BadName, remote_msg::kBadFileName);
  }
  const std::string target(remotePath);
  const std::string temp = target + ".uploading-" + RandomSuffix();
  RemoteResult<std::string> url = detail::BuildFtpUrl(server.address, temp);
  if (!url) return url.error();
  RemoteResult<std::string> rootUrl = detail::BuildFtpUrl(server.address, "");
  if (!rootUrl) return rootUrl.error();

  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(localFile, ec);
  LocalReader reader;
  if (!ec) reader.file = std::fopen(localFile.c_str(), "rb");
  if (reader.file == nullptr) {
    return MakeRemoteError(RemoteErrorKind::LocalFileError, remote_msg::kUploadFailed,
                           "cannot read " + localFile.string());
  }
  struct Closer {
    std::FILE* f;
    ~Closer() { std::fclose(f); }
  } closer{reader.file};

  CurlSession session;
  if (!session.ok()) return UploadError("cannot start the upload");
  detail::CurlList rename;
  rename.Append("RNFR " + temp);
  rename.Append("RNTO " + target);

  detail::PrepareFtp(session, url.value(), server, options, &progress, /*upload=*/true);
  CURL* curl = session.handle();
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, &LocalReader::Read);
  curl_easy_setopt(curl, CURLOPT_READDATA, &reader);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
  curl_easy_setopt(curl, CURLOPT_POSTQUOTE, rename.get());

  const CURLcode rc = session.Perform();
  if (rc == CURLE_OK) return RemoteOk();
  if (rc == CURLE_QUOTE_ERROR) {
    return ReplaceAfterRefusedRename(session, rootUrl.value(), server, options, temp, target);
  }
  RemoteError error = reader.failed
                          ? MakeRemoteError(RemoteErrorKind::LocalFileError,
                                            remote_msg::kUploadFailed, session.Detail(rc))
                          : detail::MapFtpFailure(rc, session, remote_msg::kUploadFailed);
  if (!detail::FailedBeforeLogin(rc)) {
    // Best effort: a partial temporary file must not stay on the server.
    RunCommands(session, rootUrl.value(), server, options, {"DELE " + temp});
  }
  return error;
}

RemoteStatus DeleteFtp(std::string_view remotePath, const FtpServer& server,
                       const TransferOptions& options) {
  if (!ResolveRemotePathName(remotePath)) {
    return MakeRemoteError(RemoteErrorKind::BadName, remote_msg::kBadFileName);
  }
  // Checks the whole path (control characters would end the command early).
  RemoteResult<std::string> fileUrl = detail::BuildFtpUrl(server.address, remotePath);
  if (!fileUrl) return fileUrl.error();
  RemoteResult<std::string> rootUrl = detail::BuildFtpUrl(server.address, "");
  if (!rootUrl) return rootUrl.error();
  CurlSession session;
  if (!session.ok()) {
    return MakeRemoteError(RemoteErrorKind::ServerError, remote_msg::kDeleteFailed);
  }
  const CURLcode rc =
      RunCommands(session, rootUrl.value(), server, options, {"DELE " + std::string(remotePath)});
  if (rc == CURLE_OK) return RemoteOk();
  return detail::MapFtpFailure(rc, session, remote_msg::kDeleteFailed);
}

}  // namespace mirel
