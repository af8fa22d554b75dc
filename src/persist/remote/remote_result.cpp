#include "persist/remote/remote_result.h"

namespace mirel {

std::string_view RemoteErrorKindName(RemoteErrorKind kind) {
  switch (kind) {
    case RemoteErrorKind::NotFound: return "not found";
    case RemoteErrorKind::BadName: return "bad name";
    case RemoteErrorKind::RefusedScheme: return "refused scheme";
    case RemoteErrorKind::TooLarge: return "too large";
    case RemoteErrorKind::TimedOut: return "timed out";
    case RemoteErrorKind::Cancelled: return "cancelled";
    case RemoteErrorKind::ServerError: return "server error";
    case RemoteErrorKind::AuthFailed: return "auth failed";
    case RemoteErrorKind::NoServer: return "no server";
    case RemoteErrorKind::ConnectFailed: return "connect failed";
    case RemoteErrorKind::LocalFileError: return "local file error";
    case RemoteErrorKind::NotInstalled: return "not installed";
    case RemoteErrorKind::ConversionFailed: return "conversion failed";
  }
  return "unknown";
}

RemoteError MakeRemoteError(RemoteErrorKind kind, std::string_view message, std::string detail) {
  return RemoteError{kind, std::string(message), std::move(detail)};
}

}  // namespace mirel
