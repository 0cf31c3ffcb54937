#pragma once
// The settings page: the unit's configuration as controls bound to a ConfigRecord.
// Every change re-arms the apply countdown; the page's timer writes the record to
// the unit a few ticks after the last change.

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <map>
#include <span>

#include "app/AppSettings.h"
#include "app/DialogUnits.h"
#include "app/StatusSink.h"
#include "config/ConfigRecord.h"
#include "link/CXmit.h"
#include "platform/Beep.h"
#include "platform/Dialogs.h"

namespace kq {

// What the page reaches outside itself.
struct PageContext {
    CXmit& link;
    StatusSink& status;
    Beeper& beeper;
    UserDialogs& dialogs;
    const AppSettings& settings;
};

class CSetting : public QWidget {
    Q_OBJECT
  public:
    // Template 129: the page, and the hidden frame 1072 that marks its upper area.
    static constexpr int kTemplateWidth = 350, kTemplateHeight = 392;
    static constexpr int kUpperWidth = 349, kUpperHeight = 252;

    CSetting(PageContext& context, QWidget* parent);

    ConfigRecord record;
    uint8_t applyCountdown = 0;
    uint8_t defaultPending = 0;

    // Layout, labels and lists that do not depend on the unit. Called once after creation.
    void InitSettingsPage();
    // Pull (true: controls into the record, with validation; false at the first failure,
    // reported in a message box) or push (false: record into the controls).
    bool UpdateData(bool saveAndValidate);
    // Level and slider value labels; leaves the countdown at 10.
    void RefreshValueLabels();
    // The per-unit lists and enabling of OnConnected, step 1.
    void ApplyUnitLists(uint8_t modelCode, uint8_t hardwareVersion);
    // The logos combo's text.
    QString LogoText() const;
    void SetLogoText(const QString& text);

    // Controls by their resource number; null for an unknown number.
    QWidget* Control(int id) const;
    // Size in pixels of the whole page and of its upper area (frame 1072).
    QSize PageSize() const;
    QSize UpperAreaSize() const;

    // Reading and applying.
    void OnConnected();
    void OnTimer();  // one tick of timer 0
    void KillTimer0() { timer0_.stop(); }
    bool Timer0Active() const { return timer0_.isActive(); }
    void ReloadConfiguration();
    void ApplyConfiguration(int mode);
    // Decodes block into the record and the controls.
    void ReadConfigRecord(std::span<const uint8_t> block);
    // Pulls, corrects and encodes the record for the unit's model; 0 when it does not fit.
    uint16_t WriteConfigRecord(std::span<uint8_t> block);

  protected:
    // Enter and Escape do nothing on the page, whatever holds the focus.
    void keyPressEvent(QKeyEvent* event) override;
    // A mouse release on a slider ends its movement.
    bool eventFilter(QObject* watched, QEvent* event) override;

    PageContext& context_;

  private:
    void BuildControls();
    void ConnectNotifications();
    void Register(int id, QWidget* widget, QRect units);
    bool Pull();
    void Push();
    bool Fail(const QString& message);
    void OnDefaultCountry();

    QTimer timer0_;
    std::map<int, QPointer<QWidget>> controls_;
    bool pushing_ = false;  // a push is under way: slider moves are not the user's
    DialogUnits units_;
};

}  // namespace kq
