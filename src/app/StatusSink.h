#pragma once
// Where feedback goes: one line of text for a while, and a progress bar.

#include <QString>

namespace kq {

class StatusSink {
public:
    virtual ~StatusSink() = default;
    // Shows text now and clears it after durationMs; with wait, returns only after that time.
    virtual void ShowStatus(const QString& text, int durationMs, bool wait) = 0;
    // Range 0 hides the bar; any other range shows it with bounds 0..range at position.
    virtual void SetProgress(int range, int position) = 0;
};

}  // namespace kq
