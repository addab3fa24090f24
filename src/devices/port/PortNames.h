#pragma once

#include <string>
#include <vector>

#include "flight/SettingsStore.h"

namespace quorvanta {

// The device of serial port n when the settings name none: /dev/ttyS<n-1>
// (empty for numbers below 1).
std::string defaultSerialDevicePath(int portNum);

// The device path stored for port n (section "Serial", key "COM<n>").
std::string serialDevicePath(const SettingsStore& settings, int portNum);
void storeSerialDevicePath(SettingsStore& settings, int portNum, const std::string& path);

// A USB serial adapter present now, with its stable name under
// serial/by-id where the system gives it one.
struct SerialDevice {
  std::string path;
  std::string byIdName;
  bool operator==(const SerialDevice&) const = default;
};

// The ttyUSB* and ttyACM* devices under `devDir`, ordered by kind and number.
std::vector<SerialDevice> attachedUsbSerialDevices(const std::string& devDir = "/dev");

}  // namespace quorvanta
