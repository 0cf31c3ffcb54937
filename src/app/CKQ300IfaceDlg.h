#pragma once
// The main window: hosts the settings page above the status strip, finds the unit
// and watches the connection with two timers.

#include <QDialog>
#include <QTimer>
#include <functional>

#include "app/AppSettings.h"
#include "app/CInfo.h"
#include "firmware/UpgradeRequest.h"
#include "link/CXmit.h"
#include "page/CSetting.h"

namespace kq {

class CKQ300IfaceDlg : public QDialog {
    Q_OBJECT
public:
    // Template 102.
    static constexpr int kTemplateWidth = 349, kTemplateHeight = 279;
    static constexpr int kConnectTimer = 1, kSuperviseTimer = 2;

    struct Parts {
        CXmit& link;
        Clock& clock;
        Beeper& beeper;
        UserDialogs& dialogs;
        const AppSettings& settings;
        UpgradeRequest& upgrade;
    };

    explicit CKQ300IfaceDlg(Parts parts, QWidget* parent = nullptr);

    // Set-up: title, page and strip created hidden, timer 1 armed with 100 ms.
    void OnInitDialog();
    // The supervisor; also driven directly by tests.
    void OnTimer(int id);
    // One connect attempt: true when the unit is connected and the page is ready.
    bool ConnectStep();
    // Connected layout with page, not-connected layout with null; sets the title.
    void LayoutWindows(CSetting* page);

    // Runs after a unit is identified; true when it told the unit to restart after a
    // firmware transfer (the port is then closed). Until firmware upgrades are
    // built in, nothing is due.
    std::function<bool()> checkFirmwareUpgrade = [] { return false; };

    CSetting& Page() { return *page_; }
    CInfo& Strip() { return *strip_; }
    const QTimer& Timer(int id) const { return id == kConnectTimer ? timer1_ : timer2_; }
    bool Connected() const { return timer2_.isActive(); }

protected:
    // Enter and Escape neither close nor hide the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString Title(bool connected) const;
    void Disconnect();

    Parts parts_;
    CInfo* strip_;  // created first: the page reports through it
    PageContext pageContext_;
    CSetting* page_ = nullptr;
    QTimer timer1_;
    QTimer timer2_;
};

}  // namespace kq
