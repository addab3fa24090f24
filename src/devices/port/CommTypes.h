#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "devices/port/EnumSet.h"

namespace quorvanta {

// Every error the port layer raises.
class EVaCommError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TVaBaudrate {
  brUser, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
  br56000, br57600, br115200, br128000, br256000
};
enum TVaParity { paNone, paOdd, paEven, paMark, paSpace };
enum TVaDatabits { db4, db5, db6, db7, db8 };
enum TVaStopbits { sb1, sb15, sb2 };
enum TVaControlDtr { dtrDisabled, dtrEnabled, dtrHandshake };
enum TVaControlRts { rtsDisabled, rtsEnabled, rtsHandshake, rtsToggle };
enum TVaCommEvent {
  ceBreak, ceCts, ceDsr, ceError, ceRing, ceRlsd, ceRxChar, ceTxEmpty, ceRxFlag, cePErr,
  ceRx80Full, ceEvent1, ceEvent2
};
enum TVaCommOption { coErrorChar, coNullStrip };
enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TVaCommEvents = EnumSet<TVaCommEvent>;
using TVaCommOptions = EnumSet<TVaCommOption>;

// The line speed in bit/s that a baud rate member stands for; 0 for brUser.
int baudrateBitsPerSecond(TVaBaudrate baudrate);

struct TVaFlowControl {
  bool OutCtsFlow = false;
  bool OutDsrFlow = false;
  TVaControlDtr ControlDtr = dtrDisabled;
  TVaControlRts ControlRts = rtsDisabled;
  bool XonXoffOut = false;
  bool XonXoffIn = false;
  bool DsrSensitivity = false;
  bool TxContinueOnXoff = false;
  bool operator==(const TVaFlowControl&) const = default;
};

struct TVaEventChars {
  unsigned char XonChar = 17;
  unsigned char XoffChar = 19;
  unsigned char ErrorChar = 0;
  unsigned char EventChar = 0;
  unsigned char EofChar = 0;
  bool operator==(const TVaEventChars&) const = default;
};

// Queue sizes in bytes and time-outs in milliseconds.
struct TVaBuffers {
  int ReadSize = 4096;
  int WriteSize = 2048;
  int ReadTimeout = 1000;
  int WriteTimeout = 1000;
  bool operator==(const TVaBuffers&) const = default;
};

// Pending line-error flags and queue counts of an open port.
struct TVaCommStatus {
  int Errors = 0;
  int InQueue = 0;
  int OutQueue = 0;
};

// The line-error flags in OnError that this platform can report.
enum CommLineError : int {
  lineInputOverflow = 0x0001,
  lineOverrun = 0x0002,
  lineParity = 0x0004,
  lineFraming = 0x0008,
  lineBreak = 0x0010,
};

// One line per line-error flag set, in the order the download windows test
// them; the serial driver's English texts, shown as they stand.
std::vector<std::string> lineErrorLines(int errors);

// `pattern` with each "%d" replaced by `number`, each "%s" by `text` where
// one is given, and "%%" by "%"; nothing else is a placeholder, so a pattern
// from the settings never reaches a printf-style formatter.
std::string fillPattern(std::string_view pattern, int number,
                        std::optional<std::string_view> text = std::nullopt);

// The platform's text for an error code (errno).
std::string errorText(int code);
// `pattern` with "%d" replaced by `code` and "%s" by its text.
std::string commErrorMessage(std::string_view pattern, int code);

}  // namespace quorvanta
