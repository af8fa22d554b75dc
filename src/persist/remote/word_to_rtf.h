#pragma once
// Converting a Word file to RTF with LibreOffice, when it is installed.

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "persist/remote/remote_result.h"

namespace mirel {

struct WordConversionOptions {
  std::chrono::milliseconds timeout{120'000};
  // Folders searched for "soffice" / "libreoffice"; nothing: the PATH.
  std::optional<std::vector<std::filesystem::path>> searchPath;
};

// Runs LibreOffice headless (no shell, its own throw-away profile) to write
// "<stem>.rtf" for `docPath` into `outFolder`, and returns that path. Fails
// with "创建Word服务失败!" (NotInstalled) when no LibreOffice is found or it
// cannot start, TimedOut when it has to be killed, ConversionFailed when it
// ends without producing the RTF.
RemoteResult<std::filesystem::path> ConvertWordToRtf(const std::filesystem::path& docPath,
                                                     const std::filesystem::path& outFolder,
                                                     const WordConversionOptions& options = {});

// The LibreOffice program found in `searchPath` (or the PATH), or empty.
std::filesystem::path FindOfficeProgram(
    const std::optional<std::vector<std::filesystem::path>>& searchPath = std::nullopt);

}  // namespace mirel
