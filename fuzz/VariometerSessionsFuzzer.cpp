// The two variometer windows' sessions, Bräuniger IQ and Flytec 40XX, driven
// by the input as their windows drive them: bytes from the instrument in
// reads of any size, the answer timer running out, and button presses.
//
// The first byte picks the session (even: IQ, odd: Flytec); then each step
// is one byte, some take the bytes after it:
//   xxxxxx00  a read from the port: the next byte counts the bytes that follow
//   xxxxxx01  the session's timer runs out
//   nnnnnn10  button or port event n (modulo the session's count); a tick
//             takes the next byte as the line
//   xxxxxx11  the pilot looks at the window: nothing happens

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "devices/flytec/FlytecSession.h"
#include "devices/iq/IqSession.h"

namespace quorvanta {
namespace {

using fuzz::require;
using fuzz::Steps;

void press(iq::IqSession& session, int button, Steps&) {
  switch (button % 4) {
    case 0: session.evaluate(); break;
    case 1: session.setDataCheck(!session.view().dataChecked); break;
    case 2: session.reopenPort(); break;
    default: session.portFailed("Port verloren"); break;
  }
}

void press(flytec::FlytecSession& session, int button, Steps& steps) {
  switch (button % 6) {
    case 0: session.readBarograph(); break;
    case 1: session.tickFlight(steps.byte()); break;
    case 2: session.takeOverFlight(); break;
    case 3: session.changePort(); break;
    case 4: session.portFailed("Port verloren"); break;
    default: session.writeFailed(); break;
  }
}

// Whatever the session took over is a whole barogram within the buffer.
void checkBuffer(const BarographBuffer& buffer) {
  require(buffer.BaroCount >= 0 && buffer.BaroCount <= MaxBaroSamples, "the barogram fits the buffer");
  require(buffer.BaroInterval == 0 || (buffer.BaroInterval > 0 && std::isfinite(buffer.BaroStart)),
          "a barogram taken over has its start and interval");
}

template <class Session>
void drive(Steps& steps, int timer) {
  BarographBuffer buffer;
  Session session(buffer);
  while (!steps.atEnd()) {
    const std::uint8_t step = steps.byte();
    switch (step & 3) {
      case 0: session.received(steps.bytes(steps.byte())); break;
      case 1: session.timerFired(timer); break;
      case 2: press(session, step >> 2, steps); break;
      default: break;
    }
    checkBuffer(buffer);
  }
}

}  // namespace
}  // namespace quorvanta

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvanta;
  Steps steps(data, size);
  if (steps.byte() % 2 == 0) {
    drive<iq::IqSession>(steps, iq::QuietTimer);
  } else {
    drive<flytec::FlytecSession>(steps, flytec::AnswerTimer);
  }
  return 0;
}
