#pragma once

#include <functional>
#include <string>

#include "app/QtSessionHost.h"
#include "devices/SessionDriver.h"
#include "devices/port/PortNames.h"
#include "devices/port/TVaComm.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// What every download window does with its port, timers and session: the port
// number names the device stored for it, and after the driver has answered a
// received byte, a lost port or a timer, the window shows the outcome.
inline void connectSessionEvents(TVaComm& port, SettingsStore& settings, QtSessionHost& host,
                                 SessionDriver& driver, const std::function<void()>& render) {
  port.setDevicePathResolver(
      [&port, &settings](const std::string&) { return serialDevicePath(settings, port.PortNum()); });
  port.OnRxChar = [render, received = port.OnRxChar](int count) {
    received(count);
    render();
  };
  port.OnLost = [render, lost = port.OnLost](const std::string& reason) {
    lost(reason);
    render();
  };
  host.setTimerHandler([&driver, render](int timer) {
    driver.timerFired(timer);
    render();
  });
}

}  // namespace quorvanta
