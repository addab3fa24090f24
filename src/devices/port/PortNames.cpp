#include "devices/port/PortNames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quorvanta {

namespace {

namespace fs = std::filesystem;

constexpr const char* UsbPrefixes[] = {"ttyACM", "ttyUSB"};

std::string portKey(int portNum) { return "COM" + std::to_string(portNum); }

bool isUsbSerialName(const std::string& name) {
  return std::any_of(std::begin(UsbPrefixes), std::end(UsbPrefixes),
                     [&](const char* prefix) { return name.starts_with(prefix); });
}

// Orders ttyUSB2 before ttyUSB10.
bool naturalLess(const std::string& a, const std::string& b) {
  const auto digitsAt = [](const std::string& name) {
    return name.find_first_of("0123456789");
  };
  const std::size_t splitA = std::min(digitsAt(a), a.size());
  const std::size_t splitB = std::min(digitsAt(b), b.size());
  const int stem = a.compare(0, splitA, b, 0, splitB);
  if (stem != 0) return stem < 0;
  const std::string numberA = a.substr(splitA), numberB = b.substr(splitB);
  if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
  return numberA < numberB;
}

std::string byIdNameOf(const fs::path& device, const fs::path& byIdDir) {
  std::error_code error;
  const fs::path target = fs::canonical(device, error);
  if (error) return {};
  std::vector<std::string> names;
  for (fs::directory_iterator it(byIdDir, error), end; !error && it != end; it.increment(error)) {
    std::error_code linkError;
    if (fs::canonical(it->path(), linkError) == target && !linkError) {
      names.push_back(it->path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names.empty() ? std::string() : names.front();
}

}  // namespace

std::string defaultSerialDevicePath(int portNum) {
  return portNum >= 1 ? "/dev/ttyS" + std::to_string(portNum - 1) : std::string();
}

std::string serialDevicePath(const SettingsStore& settings, int portNum) {
  return settings.readString("Serial", portKey(portNum), defaultSerialDevicePath(portNum));
}

void storeSerialDevicePath(SettingsStore& settings, int portNum, const std::string& path) {
  settings.writeString("Serial", portKey(portNum), path);
}

std::vector<SerialDevice> attachedUsbSerialDevices(const std::string& devDir) {
  const fs::path root(devDir);
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code typeError;
    if (isUsbSerialName(name) && !it->is_directory(typeError)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), naturalLess);
  std::vector<SerialDevice> devices;
  for (const std::string& name : names) {
    devices.push_back({(root / name).string(), byIdNameOf(root / name, root / "serial" / "by-id")});
  }
  return devices;
}

}  // namespace quorvanta
