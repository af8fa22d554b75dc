#include "persist/remote/word_to_rtf.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <string>
#include <system_error>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <sys/types.h>
#include <unistd.h>

#include "persist/remote/remote_messages.h"
#include "persist/remote/temp_folder.h"

namespace mirel {
namespace {

QString ToQString(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

bool IsExecutableFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

std::vector<std::filesystem::path> PathFromEnvironment() {
  std::vector<std::filesystem::path> dirs;
  const char* env = std::getenv("PATH");
  if (env == nullptr) return dirs;
  std::string_view rest(env);
  while (true) {
    const std::size_t colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    if (!dir.empty() && dir.front() == '/') dirs.emplace_back(std::string(dir));  // absolute only
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return dirs;
}

// LibreOffice's start script forks the real program; the child is put in a
// process group of its own so that a time-out can kill all of it.
void KillGroup(qint64 pid) {
  if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
}

}  // namespace

std::filesystem::path FindOfficeProgram(
    const std::optional<std::vector<std::filesystem::path>>& searchPath) {
  const std::vector<std::filesystem::path> dirs = searchPath ? *searchPath : PathFromEnvironment();
  for (const char* name : {"soffice", "libreoffice"}) {
    for (const std::filesystem::path& dir : dirs) {
      const std::filesystem::path candidate = dir / name;
      if (IsExecutableFile(candidate)) return candidate;
    }
  }
  return {};
}

RemoteResult<std::filesystem::path> ConvertWordToRtf(const std::filesystem::path& docPath,
                                                     const std::filesystem::path& outFolder,
                                                     const WordConversionOptions& options) {
  using K = RemoteErrorKind;
  std::error_code ec;
  const std::filesystem::path input = std::filesystem::absolute(docPath, ec);
  if (ec || !std::filesystem::is_regular_file(input, ec) || input.stem().empty() ||
      !input.has_extension()) {
    return MakeRemoteError(K::ConversionFailed, remote_msg::kWordConvertFailed,
                           "not a Word file: " + docPath.string());
  }
  const std::filesystem::path program = FindOfficeProgram(options.searchPath);
  if (program.empty()) {
    return MakeRemoteError(K::NotInstalled, remote_msg::kWordServiceFailed,
                           "LibreOffice (soffice) not found");
  }
  const std::filesystem::path outDir = std::filesystem::absolute(outFolder, ec);
  if (ec || !std::filesystem::is_directory(outDir, ec)) {
    return MakeRemoteError(K::LocalFileError, remote_msg::kWordConvertFailed,
                           "no output folder: " + outFolder.string());
  }
  const std::filesystem::path rtf = outDir / (input.stem().string() + ".rtf");
  std::filesystem::remove(rtf, ec);  // a stale copy must not pass for a result

  TempFolder profile("office");
  if (!profile.ok()) {
    return MakeRemoteError(K::LocalFileError, remote_msg::kWordServiceFailed,
                           "cannot create a profile folder");
  }

  QProcess process;
  process.setProgram(ToQString(program));
  process.setArguments({
      QStringLiteral("-env:UserInstallation=") +
          QUrl::fromLocalFile(ToQString(profile.path())).toString(QUrl::FullyEncoded),
      QStringLiteral("--headless"),
      QStringLiteral("--invisible"),
      QStringLiteral("--nologo"),
      QStringLiteral("--nodefault"),
      QStringLiteral("--norestore"),
      QStringLiteral("--nolockcheck"),
      QStringLiteral("--convert-to"),
      QStringLiteral("rtf"),
      QStringLiteral("--outdir"),
      ToQString(outDir),
      ToQString(input),
  });
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.setChildProcessModifier([] { ::setpgid(0, 0); });

  process.start();
  if (!process.waitForStarted(30'000)) {
    return MakeRemoteError(K::NotInstalled, remote_msg::kWordServiceFailed,
                           process.errorString().toStdString());
  }
  const qint64 pid = process.processId();
  const int waitMs = static_cast<int>(std::min<long long>(options.timeout.count(), 24LL * 3600'000));
  if (!process.waitForFinished(waitMs)) {
    KillGroup(pid);
    process.waitForFinished(10'000);
    std::filesystem::remove(rtf, ec);
    return MakeRemoteError(K::TimedOut, remote_msg::kWordConvertFailed,
                           "LibreOffice did not finish in time");
  }
  KillGroup(pid);  // helpers it may have left behind

  const bool clean = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
  if (!clean || !std::filesystem::is_regular_file(rtf, ec)) {
    std::filesystem::remove(rtf, ec);
    return MakeRemoteError(K::ConversionFailed, remote_msg::kWordConvertFailed,
                           "LibreOffice exit code " + std::to_string(process.exitCode()));
  }
  return rtf;
}

}  // namespace mirel
