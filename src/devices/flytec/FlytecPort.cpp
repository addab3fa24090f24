#include "devices/flytec/FlytecPort.h"

namespace quorvanta::flytec {

void configurePort(TVaComm& port) {
  port.setBaudrate(br9600);
  setLine8N1(port);
  port.setMonitorEvents(TVaCommEvents{ceRxChar});
}

}  // namespace quorvanta::flytec
