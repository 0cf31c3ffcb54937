#include "app/CKQ300IfaceDlg.h"

#include <QKeyEvent>

#include "app/DialogUnits.h"
#include "app/MessageTable.h"

namespace kq {
namespace {

constexpr int kProgramMajor = 2, kProgramMinor = 1;
constexpr int kFirstAttemptMs = 100;
constexpr int kRetryMs = 1000;
constexpr int kFirstSupervisionMs = 1000;
constexpr int kSupervisionMs = 100;
// The window is this much taller than what it shows, as the dialog template has it.
constexpr int kWindowExtraHeight = 20;

}  // namespace

CKQ300IfaceDlg::CKQ300IfaceDlg(Parts parts, QWidget* parent)
    : QDialog(parent),
      parts_(parts),
      strip_(new CInfo(parts.clock, this)),
      pageContext_{parts.link, *strip_, parts.beeper, parts.dialogs, parts.settings} {
    setFont(DialogFont());
    const DialogUnits du(font());
    resize(du.X(kTemplateWidth), du.Y(kTemplateHeight));
    timer1_.setSingleShot(true);
    timer2_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, [this] { OnTimer(kConnectTimer); });
    connect(&timer2_, &QTimer::timeout, this, [this] { OnTimer(kSuperviseTimer); });
}

QString CKQ300IfaceDlg::Title(bool connected) const {
    QString title = QString("KQIFACE %1.%2").arg(kProgramMajor).arg(kProgramMinor);
    if (connected) {
        const CXmit& link = parts_.link;
        title += QString(" (S%1.%2H%3)")
                     .arg(link.SoftwareVersion / 10)
                     .arg(link.SoftwareVersion % 10)
                     .arg(link.HardwareVersion);
    }
    return title;
}

void CKQ300IfaceDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CKQ300IfaceDlg::OnInitDialog() {
    setWindowTitle(Title(false));
    page_ = new CSetting(pageContext_, this);
    page_->hide();
    page_->InitSettingsPage();
    strip_->hide();
    timer1_.start(kFirstAttemptMs);
}

void CKQ300IfaceDlg::OnTimer(int id) {
    if (id == kConnectTimer) {
        timer1_.stop();
        if (ConnectStep()) {
            timer2_.start(kFirstSupervisionMs);
        } else {
            timer1_.start(kRetryMs);
        }
    } else if (id == kSuperviseTimer) {
        timer2_.stop();
        const bool lost = parts_.link.ErrorFlag != 0;
        parts_.link.ErrorFlag = 0;
        if (lost || parts_.upgrade.ForcedReload) {
            Disconnect();
            timer1_.start(kFirstAttemptMs);
        } else {
            timer2_.start(kSupervisionMs);
        }
    }
}

void CKQ300IfaceDlg::Disconnect() {
    page_->KillTimer0();
    page_->hide();
    LayoutWindows(nullptr);
    parts_.link.ClosePort();
}

bool CKQ300IfaceDlg::ConnectStep() {
    const int language = parts_.settings.LanguageIndex;
    strip_->ShowStatus(QString::fromStdString(GetMessageText(kMsgWaitingConnection, language)),
                       200, false);
    strip_->SetProgress(1, 0);
    LayoutWindows(nullptr);
    if (!parts_.link.ScanPorts()) {
        return false;
    }
    if (checkFirmwareUpgrade()) {
        return false;  // the unit is restarting; the next attempt finds it again
    }
    LayoutWindows(page_);
    page_->OnConnected();
    strip_->ShowStatus(QString::fromStdString(GetMessageText(kMsgHardwareConnected, language)),
                       1000, false);
    return true;
}

void CKQ300IfaceDlg::LayoutWindows(CSetting* page) {
    int h = 0;
    if (page != nullptr) {
        const QSize full = page->PageSize();
        h = parts_.settings.ManufacturerMode ? full.height() : page->UpperAreaSize().height();
        page->setGeometry(0, 0, full.width(), h);
        page->update();
    } else if (page_ != nullptr) {
        page_->hide();
    }
    strip_->move(0, h);
    strip_->show();
    strip_->update();
    resize(width(), h + strip_->height() + kWindowExtraHeight);
    setWindowTitle(Title(page != nullptr));
}

}  // namespace kq
