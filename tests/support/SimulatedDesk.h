#pragma once
// Everything the GUI reaches outside itself, simulated: a manual clock, in-process
// serial ports for simulated units, and recorders for beeps, message boxes and
// status texts.

#include <QString>
#include <utility>
#include <vector>

#include "Recorders.h"
#include "SimLine.h"
#include "app/AppSettings.h"
#include "app/StatusSink.h"
#include "firmware/UpgradeRequest.h"
#include "link/CXmit.h"
#include "page/CSetting.h"

namespace kq::test {

class RecordingStatus : public StatusSink {
  public:
    void ShowStatus(const QString& text, int durationMs, bool) override {
        shown.emplace_back(text, durationMs);
    }
    void SetProgress(int, int) override {}
    std::vector<std::pair<QString, int>> shown;
};

struct SimulatedDesk {
    ManualClock clock;
    sim::SimLine line{clock};
    CXmit link{line, clock};
    RecordingBeeper beeper;
    RecordingDialogs dialogs;
    RecordingStatus status;
    AppSettings settings;
    UpgradeRequest upgrade;
    PageContext context{link, status, beeper, dialogs, settings};
};

}  // namespace kq::test
