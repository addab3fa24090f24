#include "flight/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

namespace quorvanta {

namespace {

enum class Access { Read, Write };

const char* reasonText(int error, Access access) {
  switch (error) {
    case ENOENT: return access == Access::Write ? "Verzeichnis nicht gefunden" : "Datei nicht gefunden";
    case EACCES:
    case EPERM: return "Zugriff verweigert";
    case EISDIR: return "das ist ein Verzeichnis";
    case ENOSPC: return "kein Platz mehr auf dem Datenträger";
    case EROFS: return "Datenträger ist schreibgeschützt";
    default: return "Ein-/Ausgabefehler";
  }
}

std::string failureText(const std::string& path, Access access, int error) {
  std::string text("Die Datei „");
  text += path;
  text += access == Access::Read ? "“ kann nicht gelesen werden: "
                                 : "“ kann nicht geschrieben werden: ";
  text += reasonText(error, access);
  return text;
}

bool writeAll(int fd, const std::string& content) {
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t got = ::write(fd, content.data() + done, content.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

std::optional<std::string> readWholeFile(const std::string& path, std::string& content) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return failureText(path, Access::Read, errno);
  char buffer[1 << 16];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) content.append(buffer, got);
  if (std::ferror(file.get())) return failureText(path, Access::Read, errno);
  return std::nullopt;
}

std::optional<std::string> writeWholeFile(const std::string& path, const std::string& content) {
  const std::size_t slash = path.rfind('/');
  std::string temporary = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  temporary += ".";
  temporary += slash == std::string::npos ? path : path.substr(slash + 1);
  temporary += ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return failureText(path, Access::Write, errno);

  struct stat existing {};
  const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
  bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return std::nullopt;
  if (written) error = errno;
  ::unlink(temporary.c_str());
  return failureText(path, Access::Write, error);
}

}  // namespace quorvanta
