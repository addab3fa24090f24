#include "devices/garmin/GarminPort.h"

namespace quorvanta::garmin {

void configurePort(TVaComm& port) {
  port.setBaudrate(br9600);
  setLine8N1(port, DtrRtsRaised);
  port.setMonitorEvents(TVaCommEvents{ceRxChar});
  port.setEventPriority(tpNormal);
  port.setWritePriority(tpHighest);
}

}  // namespace quorvanta::garmin
