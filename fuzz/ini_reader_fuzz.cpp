// Feeds arbitrary bytes to the INI reader. Besides not crashing, reading
// what was written must give the same text again, and an edit must leave
// the file readable with the value that was set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > mirel::IniFile::kMaxFileSize) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  mirel::IniFile ini;
  ini.Parse(text);
  const std::string once = ini.ToString();

  mirel::IniFile again;
  again.Parse(once);
  if (again.ToString() != once) std::abort();

  for (const std::string& section : ini.Sections()) {
    for (const std::string& key : ini.Keys(section)) {
      if (!ini.Get(section, key)) std::abort();
      (void)ini.GetInt(section, key, 0);
    }
  }

  if (ini.SetString("Settings", "MaxUndoTimes", "31")) {
    mirel::IniFile edited;
    edited.Parse(ini.ToString());
    if (edited.GetInt("Settings", "MaxUndoTimes", 0) != 31) std::abort();
  } else {
    std::abort();  // a plain name and value are always accepted
  }
  return 0;
}
