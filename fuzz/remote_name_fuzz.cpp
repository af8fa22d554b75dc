// Fuzzes the parsing of remote addresses and the missing-page title test:
// no crash, and every name accepted is safe to use as a local file name.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persist/remote/missing_page.h"
#include "persist/remote/remote_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  mirel::RemoteResult<std::string> name = mirel::ResolveRemoteName(input);
  if (name.ok() && !mirel::IsSafeLocalName(name.value())) std::abort();

  mirel::RemoteResult<std::string> pathName =
      mirel::ResolveRemotePathName(mirel::StripFtpPrefix(input));
  if (pathName.ok() && !mirel::IsSafeLocalName(pathName.value())) std::abort();

  (void)mirel::ClassifyRemoteName(input);
  (void)mirel::LowerExtension(input);
  (void)mirel::LooksLikeMissingPage(input);
  return 0;
}
