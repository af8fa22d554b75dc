#pragma once
// The application's own settings in "配置项.ini" (section "岚舟文字"):
// toolbar and ruler flags, the main window's rectangle and display state,
// and the recent-files list. See docs/settings.md.
#include <filesystem>
#include <string>
#include <vector>

namespace mirel {

struct AppSettings {
    bool toolbarShown[4] = { true, true, true, true };
    bool hRulerShown = true;
    bool vRulerShown = true;
    int left = 0, top = 0, width = 0, height = 0;
    int showState = 1; // 1 normal, 2 minimised, 3 maximised
    bool hasRect = false; // a stored rectangle with a width and a height
    std::vector<std::string> recentFiles; // UTF-8 paths, newest first
};

inline constexpr char kAppSection[] = "岚舟文字";
inline constexpr char kRecentSection[] = "最近文件";
inline constexpr int kMaxRecentFiles = 8;

// The settings file: "配置项.ini" in the settings folder.
std::filesystem::path AppSettingsFile();

// A missing file, or one without "工具条1状态", gives the defaults (every
// toolbar and ruler shown, no rectangle).
AppSettings LoadAppSettings(const std::filesystem::path& file);

// Writes the flags and, when `writeRect`, the rectangle and display state;
// the recent-files list is written too. False when the file could not be
// written.
bool SaveAppSettings(const std::filesystem::path& file, const AppSettings& s, bool writeRect);

// Whether a window rectangle lies on a screen of this size, so that it is
// worth keeping (a window moved off the screen is not saved).
bool RectWorthSaving(int left, int top, int width, int height, int screenWidth, int screenHeight);

// Puts `path` first in the list, without duplicates, at most kMaxRecentFiles.
void AddRecentFile(std::vector<std::string>& list, const std::string& path);

} // namespace mirel
