#pragma once
// Turning a name that may be a remote address into a local file.

#include <filesystem>
#include <string_view>

#include "persist/remote/remote_result.h"
#include "persist/remote/temp_folder.h"
#include "persist/remote/transfer_options.h"

namespace mirel {

struct ResolvedFile {
  std::filesystem::path localPath;
  bool downloaded = false;  // true: the file lies in the TempFolder and goes with it
};

// "HTTP://" / "HTTPS://" names are fetched with FetchHttp, "FTP:" names with
// FetchFtp from `ftp` (prefix stripped), both into `folder`; any other name
// is a local path and is returned unchanged with downloaded = false.
RemoteResult<ResolvedFile> ResolveRemoteFile(std::string_view name, const FtpServer& ftp,
                                             const TempFolder& folder,
                                             const TransferOptions& options = {},
                                             const TransferProgress& progress = {});

}  // namespace mirel
