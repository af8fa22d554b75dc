#include "persist/remote/remote_file.h"

#include <string>

#include "persist/remote/ftp_transfer.h"
#include "persist/remote/http_fetch.h"
#include "persist/remote/remote_name.h"

namespace mirel {

RemoteResult<ResolvedFile> ResolveRemoteFile(std::string_view name, const FtpServer& ftp,
                                             const TempFolder& folder,
                                             const TransferOptions& options,
                                             const TransferProgress& progress) {
  RemoteResult<FetchedFile> fetched = MakeRemoteError(RemoteErrorKind::BadName, "");
  switch (ClassifyRemoteName(name)) {
    case RemoteNameKind::Local:
      return ResolvedFile{std::filesystem::path(std::string(name)), false};
    case RemoteNameKind::Http:
      fetched = FetchHttp(name, folder, options, progress);
      break;
    case RemoteNameKind::Ftp:
      fetched = FetchFtp(StripFtpPrefix(name), ftp, folder, options, progress);
      break;
  }
  if (!fetched) return fetched.error();
  return ResolvedFile{std::move(fetched).value().localPath, true};
}

}  // namespace mirel
