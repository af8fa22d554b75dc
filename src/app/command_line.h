#pragma once
// The headless commands of `lanzhou`: new documents, batch conversion and
// the structure dump. Each file is handled on its own: one that fails gives
// its message on standard error and a non-zero exit, the others go on.
#include <string>
#include <vector>

namespace mirel {

struct CommandLine {
    enum class Action { Window, New, Convert, Dump, Help, Invalid };
    Action action = Action::Window;
    std::string format;   // for Convert: qwd, png or pdf
    std::string ftpServer, ftpUser, ftpPassword;   // for "FTP:" names
    bool ftpActive = false;
    std::string outDir;   // for Convert; empty = beside each input
    std::vector<std::string> files;
    std::string error;    // for Invalid
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// Runs a headless action; returns the process exit code.
int RunHeadless(const CommandLine& cmd);

}  // namespace mirel
