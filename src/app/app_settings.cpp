// The application's settings file.
#include "app/app_settings.h"

#include "platform/settings.h"

#include <algorithm>
#include <string_view>

namespace mirel {

namespace {

constexpr const char* kToolbarKeys[4] = { "工具条1状态", "工具条2状态", "工具条3状态", "工具条4状态" };

// Values stored as 16-bit numbers, as the window rectangle always was.
int Read16(const Profile& p, std::string_view key)
{
    return static_cast<int16_t>(p.GetInt(kAppSection, key, 0));
}

std::string RecentKey(int i)
{
    return "文件" + std::to_string(i + 1);
}

} // namespace

std::filesystem::path AppSettingsFile()
{
    return ResolveProfileFile(profile::kApplicationSettingsFileName);
}

AppSettings LoadAppSettings(const std::filesystem::path& file)
{
    AppSettings s;
    Profile p(file);
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const std::string path = p.GetString(kRecentSection, RecentKey(i));
        if (!path.empty())
            s.recentFiles.push_back(path);
    }
    if (p.GetString(kAppSection, kToolbarKeys[0]).empty())
        return s;
    s.width = Read16(p, "宽度");
    s.height = Read16(p, "高度");
    if (s.width == 0 || s.height == 0) {
        s.width = s.height = 0;
        return s; // a damaged rectangle: everything shown, as at the first start
    }
    for (int i = 0; i < 4; ++i)
        s.toolbarShown[i] = p.GetInt(kAppSection, kToolbarKeys[i], 1) != 0;
    s.hRulerShown = p.GetInt(kAppSection, "水平标尺", 1) != 0;
    s.vRulerShown = p.GetInt(kAppSection, "垂直标尺", 1) != 0;
    s.left = Read16(p, "左边");
    s.top = Read16(p, "顶边");
    s.showState = p.GetInt(kAppSection, "位置", 1);
    s.hasRect = true;
    return s;
}

bool SaveAppSettings(const std::filesystem::path& file, const AppSettings& s, bool writeRect)
{
    Profile p(file);
    bool ok = true;
    for (int i = 0; i < 4; ++i)
        ok = p.WriteInt(kAppSection, kToolbarKeys[i], s.toolbarShown[i] ? 1 : 0) && ok;
    ok = p.WriteInt(kAppSection, "水平标尺", s.hRulerShown ? 1 : 0) && ok;
    ok = p.WriteInt(kAppSection, "垂直标尺", s.vRulerShown ? 1 : 0) && ok;
    if (writeRect) {
        ok = p.WriteInt(kAppSection, "左边", s.left) && ok;
        ok = p.WriteInt(kAppSection, "顶边", s.top) && ok;
        ok = p.WriteInt(kAppSection, "宽度", s.width) && ok;
        ok = p.WriteInt(kAppSection, "高度", s.height) && ok;
        ok = p.WriteInt(kAppSection, "位置", s.showState) && ok;
    }
    for (int i = 0; i < kMaxRecentFiles; ++i) {
        const std::string value = i < static_cast<int>(s.recentFiles.size()) ? s.recentFiles[i] : std::string();
        ok = p.WriteString(kRecentSection, RecentKey(i), value) && ok;
    }
    return ok;
}

bool RectWorthSaving(int left, int top, int width, int height, int screenWidth, int screenHeight)
{
    return left <= screenWidth - 170 && top <= screenHeight - 80 && left >= 0 && top >= 0 && width <= screenWidth
        && height <= screenHeight;
}

void AddRecentFile(std::vector<std::string>& list, const std::string& path)
{
    if (path.empty())
        return;
    list.erase(std::remove(list.begin(), list.end(), path), list.end());
    list.insert(list.begin(), path);
    if (list.size() > static_cast<std::size_t>(kMaxRecentFiles))
        list.resize(kMaxRecentFiles);
}

} // namespace mirel
