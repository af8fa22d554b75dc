#include "platform/settings.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>

#include <cstdlib>
#include <system_error>

namespace mirel {

std::filesystem::path ConfigFolder() {
  if (const char* dir = std::getenv("MIREL_CONFIG_DIR"); dir && *dir) {
    return std::filesystem::path(dir);
  }
  QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (base.isEmpty()) base = QDir::homePath() + QStringLiteral("/.config");
  return std::filesystem::path(base.toStdString()) / "lanzhou";
}

std::filesystem::path ResolveProfileFile(std::string_view name) {
  const std::filesystem::path path(name);
  if (!path.has_parent_path()) return ConfigFolder() / path;
  return path;
}

Profile::Profile(std::filesystem::path file) : file_(std::move(file)) {}

Profile& Profile::Application() {
  static Profile profile(ConfigFolder() / profile::kFileName);
  const std::filesystem::path wanted = ConfigFolder() / profile::kFileName;
  if (profile.file_ != wanted) profile.Rebind(wanted);
  return profile;
}

void Profile::Rebind(std::filesystem::path file) {
  file_ = std::move(file);
  loaded_ = false;
  readable_ = true;
  error_.clear();
  ini_ = IniFile();
}

Profile::Stamp Profile::CurrentStamp() const {
  Stamp stamp;
  std::error_code ec;
  if (!std::filesystem::exists(file_, ec)) return stamp;
  stamp.exists = true;
  stamp.time = std::filesystem::last_write_time(file_, ec);
  stamp.size = std::filesystem::file_size(file_, ec);
  if (ec) stamp.size = 0;
  return stamp;
}

void Profile::Refresh() const {
  const Stamp now = CurrentStamp();
  if (loaded_ && now == stamp_) return;
  std::string error;
  readable_ = ini_.Load(file_, &error);
  error_ = readable_ ? std::string() : error;
  stamp_ = now;
  loaded_ = true;
}

bool Profile::IsWritable() const {
  Refresh();
  return readable_;
}

std::string Profile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  Refresh();
  return ini_.GetString(section, key, fallback);
}

int Profile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  Refresh();
  return ini_.GetInt(section, key, fallback);
}

bool Profile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  return Update([&](IniFile& ini) { return ini.SetString(section, key, value); });
}

bool Profile::Update(const std::function<bool(IniFile&)>& change) {
  Refresh();
  if (!readable_) return false;  // error_ tells why; the file is left alone
  IniFile updated = ini_;
  if (!change(updated)) {
    error_ = "invalid profile entry";
    return false;
  }
  std::error_code ec;
  if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), ec);
  std::string error;
  if (!updated.Save(file_, &error)) {
    error_ = error;
    return false;
  }
  ini_ = std::move(updated);
  stamp_ = CurrentStamp();
  error_.clear();
  return true;
}

bool Profile::WriteInt(std::string_view section, std::string_view key, int value) {
  return WriteString(section, key, std::to_string(value));
}

int Profile::MaxUndoTimes() const {
  return GetInt(profile::kSettings, profile::kMaxUndoTimes, profile::kDefaultMaxUndoTimes);
}
int Profile::MoveStep() const {
  return GetInt(profile::kSettings, profile::kMoveStep, profile::kDefaultMoveStep);
}
int Profile::MaxIterriveCount() const {
  return GetInt(profile::kSettings, profile::kMaxIterriveCount, profile::kDefaultMaxIterriveCount);
}
int Profile::AltSel() const {
  return GetInt(profile::kSettings, profile::kAltSel, profile::kDefaultAltSel);
}
int Profile::MirrorFactor() const {
  return GetInt(profile::kSettings, profile::kMirrorFactor, profile::kDefaultMirrorFactor);
}
int Profile::JumeToNextCell() const {
  return GetInt(profile::kSettings, profile::kJumeToNextCell, profile::kDefaultJumeToNextCell);
}
std::string Profile::Owner() const { return GetString(profile::kSettings, profile::kOwner); }
std::string Profile::CompanyName() const {
  return GetString(profile::kSettings, profile::kCompanyName);
}

bool Profile::WriteRulerState(bool horizontalShown, bool verticalShown) {
  return Update([&](IniFile& ini) {
    return ini.SetInt(profile::kBarState, profile::kHorRuler, horizontalShown ? 1 : 0) &&
           ini.SetInt(profile::kBarState, profile::kVerRuler, verticalShown ? 1 : 0);
  });
}

}  // namespace mirel
