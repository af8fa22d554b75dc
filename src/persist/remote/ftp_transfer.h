#pragma once
// Getting, putting and deleting files on the configured FTP server. Remote
// paths are given without the "FTP:" prefix (see StripFtpPrefix); a path
// beginning with "/" is absolute on the server, others are relative to the
// login folder. Transfers are binary (image type).

#include <filesystem>
#include <string_view>

#include "persist/remote/fetched_file.h"
#include "persist/remote/remote_result.h"
#include "persist/remote/temp_folder.h"
#include "persist/remote/transfer_options.h"

namespace mirel {

// Downloads `remotePath` into `folder` under its last "/" part. Nothing is
// left in the folder when it fails.
RemoteResult<FetchedFile> FetchFtp(std::string_view remotePath, const FtpServer& server,
                                   const TempFolder& folder, const TransferOptions& options = {},
                                   const TransferProgress& progress = {});

// Sends `localFile` to `remotePath`. The bytes go to a temporary name beside
// the target first, which is then renamed over the target, so a failed upload
// leaves the previous file on the server as it was; the temporary remote file
// is deleted when the upload fails.
RemoteStatus UploadFtp(const std::filesystem::path& localFile, std::string_view remotePath,
                       const FtpServer& server, const TransferOptions& options = {},
                       const TransferProgress& progress = {});

// Deletes `remotePath` on the server.
RemoteStatus DeleteFtp(std::string_view remotePath, const FtpServer& server,
                       const TransferOptions& options = {});

}  // namespace mirel
