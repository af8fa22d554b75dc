#pragma once
// Small file helpers for the remote-transfer tests.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace mirel::test {

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every byte value, repeated and shifted, so truncation or text-mode
// translation shows up.
inline std::string BinaryBytes(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
  return bytes;
}

// The names in a folder (recursively, relative), hidden ones included.
inline std::set<std::string> ListFolder(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    names.insert(std::filesystem::relative(entry.path(), folder).string());
  }
  return names;
}

}  // namespace mirel::test
