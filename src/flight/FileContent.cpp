#include "flight/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace quorvanta {

namespace {

enum class Access { Read, Write };

const char* reasonText(int error, Access access) {
  switch (error) {
    case ENOENT: return access == Access::Write ? "Verzeichnis nicht gefunden" : "Datei nicht gefunden";
    case EACCES:
    case EPERM: return "Zugriff verweigert";
    case EISDIR: return "das ist ein Verzeichnis";
    case ENXIO: return "das ist keine gewöhnliche Datei";
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

std::string tooLargeText(const std::string& path) {
  return "Die Datei „" + path + "“ kann nicht gelesen werden: sie ist größer als " +
         std::to_string(WholeFileLimit >> 20) + " MiB";
}

// Closes the descriptor when it goes out of scope.
struct Descriptor {
  explicit Descriptor(int opened) : fd(opened) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
  const int fd;
};

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
  // Non-blocking, so that a FIFO without a writer cannot hang the open.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.fd < 0) return failureText(path, Access::Read, errno);
  struct stat status {};
  if (::fstat(file.fd, &status) != 0) return failureText(path, Access::Read, errno);
  if (S_ISDIR(status.st_mode)) return failureText(path, Access::Read, EISDIR);
  if (!S_ISREG(status.st_mode)) return failureText(path, Access::Read, ENXIO);
  if (static_cast<std::uintmax_t>(status.st_size) > WholeFileLimit) return tooLargeText(path);
  content.reserve(content.size() + static_cast<std::size_t>(status.st_size));
  char buffer[1 << 16];
  std::size_t total = 0;
  for (;;) {
    const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failureText(path, Access::Read, errno);
    if (got == 0) return std::nullopt;
    // The file may grow while it is read.
    if ((total += static_cast<std::size_t>(got)) > WholeFileLimit) return tooLargeText(path);
    content.append(buffer, static_cast<std::size_t>(got));
  }
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
