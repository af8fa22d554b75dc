// Where settings live and the application profile the component reads.
//
// All settings files are kept in one folder: $MIREL_CONFIG_DIR when set,
// otherwise "lanzhou" under the XDG configuration folder
// (QStandardPaths::GenericConfigLocation, i.e. $XDG_CONFIG_HOME or
// ~/.config). Files named without a folder ("MenuData.ini") are resolved
// there. See docs/settings.md.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

namespace mirel {

namespace profile {
inline constexpr char kFileName[] = "lanzhou.ini";
inline constexpr char kQuickMenuFileName[] = "MenuData.ini";
inline constexpr char kApplicationSettingsFileName[] = "配置项.ini";

inline constexpr char kSettings[] = "Settings";
inline constexpr char kBarState[] = "BarState";

inline constexpr char kMaxUndoTimes[] = "MaxUndoTimes";
inline constexpr char kMoveStep[] = "MoveStep";
inline constexpr char kMaxIterriveCount[] = "MaxIterriveCount";
inline constexpr char kAltSel[] = "AltSel";
inline constexpr char kMirrorFactor[] = "MirrorFactor";
inline constexpr char kJumeToNextCell[] = "JumeToNextCell";
inline constexpr char kOwner[] = "Owner";
inline constexpr char kCompanyName[] = "CompanyName";
inline constexpr char kHorRuler[] = "HorRuler";
inline constexpr char kVerRuler[] = "VerRuler";

inline constexpr int kDefaultMaxUndoTimes = 30;
inline constexpr int kDefaultMoveStep = 2;
inline constexpr int kDefaultMaxIterriveCount = 200;
inline constexpr int kDefaultAltSel = 1;
inline constexpr int kDefaultMirrorFactor = 15;
inline constexpr int kDefaultJumeToNextCell = 0;
}  // namespace profile

// The settings folder (not created here).
std::filesystem::path ConfigFolder();
// A name without a folder is taken inside ConfigFolder(); a path with a
// folder is returned as it is.
std::filesystem::path ResolveProfileFile(std::string_view name);

// One profile file. Values are read from the file as it is on disk: a
// change made by another program instance is picked up at the next read.
// Writes go to the file at once (temporary file, then rename).
class Profile {
 public:
  explicit Profile(std::filesystem::path file);

  // The application profile: ConfigFolder()/lanzhou.ini. It follows a
  // change of ConfigFolder() (tests point it at a temporary folder).
  static Profile& Application();

  const std::filesystem::path& File() const { return file_; }

  // False when the file exists but could not be read (too large, not a
  // regular file, unreadable): it is then never overwritten.
  bool IsWritable() const;
  const std::string& LastError() const { return error_; }

  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback = {}) const;
  int GetInt(std::string_view section, std::string_view key, int fallback) const;

  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteInt(std::string_view section, std::string_view key, int value);

  // Section "Settings".
  int MaxUndoTimes() const;
  int MoveStep() const;
  int MaxIterriveCount() const;
  int AltSel() const;
  int MirrorFactor() const;
  int JumeToNextCell() const;
  std::string Owner() const;
  std::string CompanyName() const;

  // Section "BarState": ruler flags (1 shown, 0 hidden).
  bool WriteRulerState(bool horizontalShown, bool verticalShown);

 private:
  struct Stamp {
    bool exists = false;
    std::filesystem::file_time_type time{};
    std::uintmax_t size = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp CurrentStamp() const;
  void Refresh() const;  // reloads when the file changed on disk
  void Rebind(std::filesystem::path file);
  // Applies `change` to a copy and saves it; the copy replaces the loaded
  // state only when saving succeeded.
  bool Update(const std::function<bool(IniFile&)>& change);

  std::filesystem::path file_;
  mutable IniFile ini_;
  mutable Stamp stamp_;
  mutable bool loaded_ = false;
  mutable bool readable_ = true;
  mutable std::string error_;
};

}  // namespace mirel
