#pragma once
// The status strip at the bottom of the main window: a line of text shown for a
// while, and a progress bar.

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include "app/StatusSink.h"
#include "platform/Clock.h"

namespace kq {

class CInfo : public QWidget, public StatusSink {
    Q_OBJECT
public:
    // Template 133.
    static constexpr int kTemplateWidth = 349, kTemplateHeight = 41;

    // clock serves the waiting form of ShowStatus.
    CInfo(Clock& clock, QWidget* parent);

    void ShowStatus(const QString& text, int durationMs, bool wait) override;
    void SetProgress(int range, int position) override;

    // The strip's timer: the display time has passed.
    void OnTimer();

    QString Text() const { return text_->text(); }
    bool TextTimerActive() const { return timer1_.isActive(); }
    int TextTimerInterval() const { return timer1_.interval(); }
    const QProgressBar& Progress() const { return *progress_; }

signals:
    void statusShown(const QString& text);

private:
    Clock& clock_;
    QLabel* text_;
    QProgressBar* progress_;
    QTimer timer1_;
    int currentRange_ = 0;
};

}  // namespace kq
