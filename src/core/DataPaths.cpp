#include "core/DataPaths.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace radove {

std::filesystem::path DataDirectory() {
  if (const char* env = std::getenv("RADOVE_DATA_DIR"); env != nullptr && *env != '\0') {
    return std::filesystem::path(env);
  }
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec && exe.has_parent_path()) return exe.parent_path();
  std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (!ec) return cwd;
  return std::filesystem::path(".");
}

std::filesystem::path ResolveDataFile(std::string_view relativeName) {
  std::string name(relativeName);
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  const std::filesystem::path file(name);
  if (file.is_absolute()) return file;
  return DataDirectory() / file;
}

}  // namespace radove
