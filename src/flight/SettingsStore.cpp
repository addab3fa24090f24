#include "flight/SettingsStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace quorvanta {

std::string homeDirectory() {
  std::string home;
  if (const char* variable = std::getenv("HOME"); variable && *variable) {
    home = variable;
  } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
    home = entry->pw_dir;
  }
  if (home.empty() || home.back() != '/') home += '/';
  return home;
}

}  // namespace quorvanta
