#include "devices/port/PortNames.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/MemorySettings.h"
#include "support/TestFiles.h"

namespace quorvanta {
namespace {

TEST(PortNamesTest, PortDevicesDefaultToTheSerialLines) {
  test::MemorySettings settings;
  EXPECT_EQ(serialDevicePath(settings, 1), "/dev/ttyS0");
  EXPECT_EQ(serialDevicePath(settings, 3), "/dev/ttyS2");
  EXPECT_EQ(serialDevicePath(settings, 0), "");
}

TEST(PortNamesTest, StoredDeviceIsKeptUnderThePortNumber) {
  test::MemorySettings settings;
  storeSerialDevicePath(settings, 3, "/dev/ttyUSB0");
  EXPECT_EQ(serialDevicePath(settings, 3), "/dev/ttyUSB0");
  EXPECT_EQ(settings.readString("Serial", "COM3", ""), "/dev/ttyUSB0");
  EXPECT_EQ(serialDevicePath(settings, 2), "/dev/ttyS1");
}

TEST(PortNamesTest, UsbAdaptersAreListedWithTheirStableNames) {
  test::ScratchDir dev;
  for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyUSB0", "ttyACM0", "ttyS0", "tty1"}) {
    dev.write(name, "");
  }
  std::filesystem::create_directories(dev.path() / "ttyUSBdir");
  const auto byId = dev.path() / "serial" / "by-id";
  std::filesystem::create_directories(byId);
  std::filesystem::create_symlink("../../ttyUSB2", byId / "usb-FTDI_FT232R_A50285BI-if00-port0");
  std::filesystem::create_symlink("../../ttyS0", byId / "pci-serial");
  const std::string root = dev.path().string();
  const std::vector<SerialDevice> expected = {
      {root + "/ttyACM0", ""},
      {root + "/ttyUSB0", ""},
      {root + "/ttyUSB2", "usb-FTDI_FT232R_A50285BI-if00-port0"},
      {root + "/ttyUSB10", ""},
  };
  EXPECT_EQ(attachedUsbSerialDevices(root), expected);
}

TEST(PortNamesTest, MissingDeviceDirectoryListsNothing) {
  test::ScratchDir dev;
  EXPECT_TRUE(attachedUsbSerialDevices((dev.path() / "absent").string()).empty());
}

}  // namespace
}  // namespace quorvanta
