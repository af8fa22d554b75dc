#pragma once
// Names of remote documents: which kind of address a name is, and the local
// file name a download of it gets.

#include <string>
#include <string_view>

#include "persist/remote/remote_result.h"

namespace mirel {

enum class RemoteNameKind {
  Local,  // a local path
  Http,   // begins with "HTTP://" or "HTTPS://" (any letter case)
  Ftp,    // begins with "FTP:" (any letter case): a file on the configured FTP server
};

RemoteNameKind ClassifyRemoteName(std::string_view name);

// The name without its leading "FTP:" (any letter case); other names unchanged.
std::string_view StripFtpPrefix(std::string_view name);

// The local file name for a remote address: the last part of the URL's path
// (query and fragment dropped, %XX escapes decoded) for "scheme://" addresses,
// the last "/" part for FTP names (with or without "FTP:"). An address whose
// path is empty or ends in "/", or whose name is not a safe local name, gives
// "文件名称错误！" (RemoteErrorKind::BadName).
RemoteResult<std::string> ResolveRemoteName(std::string_view address);

// The same for a path on the FTP server (no prefix, no escapes): its last
// "/" part.
RemoteResult<std::string> ResolveRemotePathName(std::string_view path);

// A name that may become a file in a folder of ours: not empty, at most 255
// bytes, valid UTF-8 without control characters, not "." or "..", and free of
// "/", "\\", ":" and "..".
bool IsSafeLocalName(std::string_view name);

bool IsValidUtf8(std::string_view text);

// The extension dispatch uses: the text after the last "." of the name,
// lower-cased (ASCII only); empty when there is no ".".
std::string LowerExtension(std::string_view name);

}  // namespace mirel
