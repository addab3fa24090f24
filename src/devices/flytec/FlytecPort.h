#pragma once

#include "devices/port/TVaComm.h"

namespace quorvanta::flytec {

// 9600 bit/s, 8N1, no handshake.
void configurePort(TVaComm& port);

}  // namespace quorvanta::flytec
