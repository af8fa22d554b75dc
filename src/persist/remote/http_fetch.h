#pragma once
// Fetching a document by address over HTTP(S) (or an ftp:// URL).

#include <string_view>

#include "persist/remote/fetched_file.h"
#include "persist/remote/remote_result.h"
#include "persist/remote/temp_folder.h"
#include "persist/remote/transfer_options.h"

namespace mirel {

// GETs `url` from the server, bypassing caches, into `folder` under the name
// ResolveRemoteName gives. Only http, https and ftp are allowed, for the
// address and for every redirect. Status 400 and above, or a page titled
// "404 Not Found" / "文件不存在", give "文件不存在！". Nothing is left in the
// folder when the fetch fails.
RemoteResult<FetchedFile> FetchHttp(std::string_view url, const TempFolder& folder,
                                    const TransferOptions& options = {},
                                    const TransferProgress& progress = {});

}  // namespace mirel
