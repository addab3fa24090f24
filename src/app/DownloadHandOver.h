#pragma once

#include "flight/DownloadWriter.h"
#include "flight/FlightRecord.h"
#include "flight/SettingsStore.h"

namespace quorvanta {

// A file a download window wrote goes to the main window, which loads it once
// the window has closed, and becomes the IGC file last used.
inline void handOverDownload(const DownloadOutcome& outcome, FlightRecord& record,
                             SettingsStore& settings) {
  if (outcome.error) return;
  record.DownloadedFile = outcome.path;
  record.DownloadDone = true;
  settings.writeString("Dateien", "Filename IGC", outcome.path);
}

}  // namespace quorvanta
