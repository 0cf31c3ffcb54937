#include "app/CInfo.h"

#include "app/DialogUnits.h"

namespace kq {

CInfo::CInfo(Clock& clock, QWidget* parent)
    : QWidget(parent), clock_(clock), text_(new QLabel(this)), progress_(new QProgressBar(this)) {
    setFont(DialogFont());
    const DialogUnits du(font());
    resize(du.X(kTemplateWidth), du.Y(kTemplateHeight));
    text_->setObjectName("1055");
    text_->setGeometry(du.Rect(6, 6, 333, 11));
    text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    progress_->setObjectName("1000");
    progress_->setGeometry(du.Rect(6, 17, 336, 11));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);

    QPalette grey = palette();
    grey.setColor(QPalette::WindowText, QColor(96, 96, 96));
    grey.setColor(QPalette::Text, QColor(96, 96, 96));
    text_->setPalette(grey);
    progress_->setPalette(grey);

    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, &CInfo::OnTimer);
    hide();
}

void CInfo::ShowStatus(const QString& text, int durationMs, bool wait) {
    text_->setText(text);
    timer1_.start(durationMs);  // replaces an earlier display time
    show();
    repaint();  // visible even while the caller keeps the thread busy
    emit statusShown(text);
    if (wait) {
        clock_.SleepMs(durationMs);
    }
}

void CInfo::OnTimer() {
    timer1_.stop();
    text_->clear();  // the strip and its bar stay as they are
}

void CInfo::SetProgress(int range, int position) {
    if (range == 0) {
        progress_->hide();
        currentRange_ = 0;
        return;
    }
    if (range != currentRange_) {
        progress_->setRange(0, range);
        progress_->show();
    }
    currentRange_ = range;
    progress_->setValue(position);
}

}  // namespace kq
