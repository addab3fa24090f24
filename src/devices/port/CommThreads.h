#pragma once

#include <memory>

#include "devices/port/PortLink.h"

namespace quorvanta {

// Waits for received bytes, line events and the loss of the device, and
// hands each to the user-interface thread; ends when the link is stopped or
// the device is lost.
void runEventThread(std::shared_ptr<PortLink> link);

// Writes the transmit queue to the device and reports OnTxEmpty once it has
// been written out; ends when the link is stopped or the device is lost.
void runWriteThread(std::shared_ptr<PortLink> link);

}  // namespace quorvanta
