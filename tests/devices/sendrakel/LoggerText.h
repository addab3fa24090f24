#pragma once

#include <cstdio>
#include <string>

namespace quorvanta::test {

// A logger track as the Sendrakel gives it out: its A record, header, fixes
// one a second from 10:00:00 and its own G record.
inline std::string loggerTrack(int fixes, const std::string& date = "150703") {
  std::string text = "ASRK001 SENDRAKEL\r\nHFDTE" + date +
                     "\r\nHFPLTPILOT: Logger Pilot\r\nHFGTYGLIDERTYPE: Logger Glider\r\n"
                     "HFGIDGLIDERID: D-1234\r\nHFDTM100GPSDATUM: WGS-84\r\n"
                     "I013638FXA\r\nLSRK SendTrk 1\r\n";
  for (int k = 0; k < fixes; ++k) {
    char fix[64];
    std::snprintf(fix, sizeof fix, "B%02d%02d%02d4730%03dN01130%03dEA0%04d0%04d\r\n",
                  10 + k / 3600, k / 60 % 60, k % 60, k % 1000, k % 1000, 1000 + k % 500,
                  1000 + k % 500);
    text += fix;
  }
  return text + "GSRK0123456789ABCDEF\r\nGSRKFEDCBA9876543210\r\n";
}

}  // namespace quorvanta::test
