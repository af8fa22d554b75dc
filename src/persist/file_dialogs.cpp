#include "persist/file_dialogs.h"

#include "persist/open_messages.h"
#include "platform/prompt.h"

#include <filesystem>

namespace mirel {

namespace {

FileDialogs* g_installed = nullptr;

std::optional<std::string> AskName(std::string_view caption)
{
    std::optional<std::string> name = CurrentPrompt().AskText(caption, open_msg::kFileNameLabel, {}, false, 0);
    if (name && name->empty())
        return std::nullopt;
    return name;
}

}  // namespace

std::optional<std::string> PromptFileDialogs::AskOpenFileName(std::string_view)
{
    return AskName(open_msg::kOpenCaption);
}

std::optional<std::string> PromptFileDialogs::AskSaveFileName(std::string_view, std::string_view defaultExtensions)
{
    std::optional<std::string> name = AskName(open_msg::kSaveCaption);
    if (name)
        *name = WithDefaultExtension(*name, defaultExtensions);
    return name;
}

FileDialogs& CurrentFileDialogs()
{
    static PromptFileDialogs fallback;
    return g_installed ? *g_installed : fallback;
}

FileDialogs* SetCurrentFileDialogs(FileDialogs* dialogs)
{
    FileDialogs* previous = g_installed;
    g_installed = dialogs;
    return previous;
}

std::string WithDefaultExtension(const std::string& name, std::string_view defaultExtensions)
{
    const std::string_view first = defaultExtensions.substr(0, defaultExtensions.find('|'));
    const std::filesystem::path path(name);
    if (first.empty() || name.empty() || name.back() == '/' || path.has_extension())
        return name;
    const std::string file = path.filename().string();
    if (file.empty() || file == "." || file == "..")
        return name;
    return name + "." + std::string(first);
}

}  // namespace mirel
