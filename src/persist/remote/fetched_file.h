#pragma once

#include <filesystem>
#include <string>

namespace mirel {

// A downloaded file: where it lies (inside the caller's TempFolder) and the
// name taken from the address, which decides how it is opened.
struct FetchedFile {
  std::filesystem::path localPath;
  std::string name;
};

}  // namespace mirel
