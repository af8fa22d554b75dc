#pragma once
// Asking the user for a file name to open or to save under.
//
// The program installs an implementation with the real file dialogs; until
// then (tests, the command-line converter) the name is asked for through the
// prompt interface as a line of text, so a scripted prompt can answer it and
// its default (Cancel) cancels.
#include <optional>
#include <string>
#include <string_view>

namespace mirel {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // An existing file to open. `filter` is the "text|pattern|…||" list.
    // Nothing when the user cancels.
    virtual std::optional<std::string> AskOpenFileName(std::string_view filter) = 0;
    // A name to save under; `defaultExtensions` ("qwd|mrl") names the
    // extension given to a name typed without one (the first of them).
    virtual std::optional<std::string> AskSaveFileName(std::string_view filter, std::string_view defaultExtensions) = 0;
};

// Asks through CurrentPrompt().AskText.
class PromptFileDialogs : public FileDialogs {
public:
    std::optional<std::string> AskOpenFileName(std::string_view filter) override;
    std::optional<std::string> AskSaveFileName(std::string_view filter, std::string_view defaultExtensions) override;
};

// The process-wide dialogs: a PromptFileDialogs until one is installed.
FileDialogs& CurrentFileDialogs();
// Installs `dialogs` (not owned; nullptr restores the default) and returns
// the previous one, or nullptr when the default was current.
FileDialogs* SetCurrentFileDialogs(FileDialogs* dialogs);

// `name` with "." and the first of `defaultExtensions` appended when its file
// name has no extension.
std::string WithDefaultExtension(const std::string& name, std::string_view defaultExtensions);

}  // namespace mirel
