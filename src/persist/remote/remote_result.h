#pragma once
// Outcome of a transfer or conversion: a value, or an error carrying the
// message text shown to the user and the kind of failure.

#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace mirel {

enum class RemoteErrorKind {
  NotFound,          // the server has no such file (status >= 400, missing-page title, no remote file)
  BadName,           // no usable file name in the address
  RefusedScheme,     // not an http, https or ftp address, or a malformed one
  TooLarge,          // over the size limit
  TimedOut,          // connect or overall time-out
  Cancelled,         // the progress callback asked to stop
  ServerError,       // the server refused or broke off the transfer
  AuthFailed,        // user name or password refused
  NoServer,          // no FTP server configured
  ConnectFailed,     // host unknown or not reachable
  LocalFileError,    // writing or reading the local file failed
  NotInstalled,      // no converter program found / it could not be started
  ConversionFailed,  // the converter ran but produced nothing usable
};

std::string_view RemoteErrorKindName(RemoteErrorKind kind);

struct RemoteError {
  RemoteErrorKind kind;
  std::string message;  // the text for the user (UTF-8)
  std::string detail;   // technical text from the library or server, may be empty
};

RemoteError MakeRemoteError(RemoteErrorKind kind, std::string_view message,
                            std::string detail = {});

template <typename T>
class RemoteResult {
 public:
  RemoteResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}
  RemoteResult(RemoteError error) : state_(std::in_place_index<1>, std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }

  const T& value() const& { return std::get<0>(state_); }
  T& value() & { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  const RemoteError& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, RemoteError> state_;
};

// For operations that give nothing back but success.
using RemoteStatus = RemoteResult<std::monostate>;
inline RemoteStatus RemoteOk() { return RemoteStatus(std::monostate{}); }

}  // namespace mirel
