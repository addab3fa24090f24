#include "flight/FileContent.h"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quorvanta {

std::optional<std::string> readWholeFile(const std::string& path, std::string& content) {
  const auto failure = [&](int error) {
    const char* reason = error == ENOENT   ? "Datei nicht gefunden"
                         : error == EACCES ? "Zugriff verweigert"
                         : error == EISDIR ? "das ist ein Verzeichnis"
                                           : "Lesefehler";
    return "Die Datei „" + path + "“ kann nicht gelesen werden: " + reason;
  };
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return failure(errno);
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) content.append(buffer, got);
  if (std::ferror(file.get())) return failure(errno);
  return std::nullopt;
}

}  // namespace quorvanta
