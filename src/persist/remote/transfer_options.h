#pragma once
// Limits and settings shared by every remote transfer.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace mirel {

struct TransferOptions {
  std::chrono::milliseconds connectTimeout{15'000};
  std::chrono::milliseconds totalTimeout{10 * 60'000};
  long maxRedirects = 5;
  // Downloads stop and are deleted once they pass this many bytes.
  std::uint64_t maxBytes = std::uint64_t{512} << 20;
  // Use the proxy named by the usual environment variables (http_proxy …).
  bool useEnvironmentProxy = true;
};

// Called during a transfer with the bytes moved so far and the expected total
// (0 when unknown). Returning false cancels the transfer.
using TransferProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// The configured FTP server. `address` is "host", "host:port" or
// "[v6-address]:port"; an empty user logs in anonymously.
struct FtpServer {
  std::string address;
  std::string user;
  std::string password;
  bool passive = true;  // false: active mode, the server connects back to us
};

}  // namespace mirel
