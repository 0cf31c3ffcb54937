// The main window's connection supervisor, layout and title, and the status strip,
// against in-process simulated units. Timers are driven directly.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "SimLine.h"
#include "SimulatedDesk.h"
#include "app/CKQ300IfaceDlg.h"
#include "app/MessageTable.h"

namespace kq::test {
namespace {

class Shell : public ::testing::Test, protected SimulatedDesk {
  protected:
    void Start() {
        dialog = std::make_unique<CKQ300IfaceDlg>(
            CKQ300IfaceDlg::Parts{link, clock, beeper, dialogs, settings, upgrade});
        dialog->OnInitDialog();
    }
    int StripHeight() { return dialog->Strip().height(); }

    std::unique_ptr<CKQ300IfaceDlg> dialog;
};

TEST_F(Shell, WithoutAUnitAttemptsRepeatEverySecond) {
    Start();
    EXPECT_EQ(dialog->windowTitle(), "KQIFACE 2.1");
    ASSERT_TRUE(dialog->Timer(1).isActive());
    EXPECT_EQ(dialog->Timer(1).interval(), 100);

    dialog->OnTimer(1);
    EXPECT_EQ(dialog->Strip().Text(), "Waiting connection...");
    EXPECT_EQ(dialog->Strip().TextTimerInterval(), 200);
    EXPECT_FALSE(dialog->Strip().Progress().isHidden());
    EXPECT_EQ(dialog->Strip().Progress().maximum(), 1);
    EXPECT_EQ(dialog->Strip().Progress().value(), 0);
    EXPECT_EQ(dialog->Timer(1).interval(), 1000);
    EXPECT_FALSE(dialog->Timer(2).isActive());
    EXPECT_TRUE(dialog->Page().isHidden());
    EXPECT_EQ(dialog->windowTitle(), "KQIFACE 2.1");
    EXPECT_EQ(dialog->height(), StripHeight() + 20);
    EXPECT_EQ(dialog->Strip().y(), 0);
}

TEST_F(Shell, ConnectedTitleAndHeightFollowVersionsAndMode) {
    const struct {
        int manufacturer;
        uint8_t software, hardware;
        const char* title;
    } cases[] = {
        {0, 21, 3, "KQIFACE 2.1 (S2.1H3)"},
        {1, 5, 3, "KQIFACE 2.1 (S0.5H3)"},
        {0, 107, 0, "KQIFACE 2.1 (S10.7H0)"},
    };
    for (const auto& c : cases) {
        settings.ManufacturerMode = c.manufacturer;
        sim::SimUnit unit({.model = 0x82, .software = c.software, .hardware = c.hardware});
        line.Plug(3, unit);
        Start();
        dialog->OnTimer(1);
        EXPECT_EQ(dialog->windowTitle(), c.title);
        ASSERT_TRUE(dialog->Connected());
        EXPECT_EQ(dialog->Timer(2).interval(), 1000);
        EXPECT_FALSE(dialog->Page().isHidden());
        EXPECT_TRUE(dialog->Page().Timer0Active());
        const int pageHeight = c.manufacturer ? dialog->Page().PageSize().height()
                                              : dialog->Page().UpperAreaSize().height();
        EXPECT_EQ(dialog->Page().height(), pageHeight);
        EXPECT_EQ(dialog->Strip().y(), pageHeight);
        EXPECT_EQ(dialog->height(), pageHeight + StripHeight() + 20);
        EXPECT_EQ(dialog->Strip().Text(), "Hardware connected");
        EXPECT_EQ(dialog->Strip().TextTimerInterval(), 1000);
        dialog.reset();
        link.ClosePort();
        line.Unplug(3);
    }
}

TEST_F(Shell, SilentUnitIsDroppedAndFoundAgainOnTheSamePort) {
    sim::SimUnit other({.model = 0x82}), unit({.model = 0x82, .software = 21, .hardware = 3});
    line.Plug(5, other);
    line.Plug(3, unit);
    Start();
    dialog->OnTimer(1);
    ASSERT_TRUE(dialog->Connected());
    dialog->OnTimer(2);
    EXPECT_EQ(dialog->Timer(2).interval(), 100) << "healthy ticks follow every 100 ms";

    unit.faults.silent = true;
    dialog->Page().OnTimer();  // the page's poll goes unanswered
    EXPECT_EQ(link.ErrorFlag, 1);
    dialog->OnTimer(2);
    EXPECT_EQ(link.ErrorFlag, 0);
    EXPECT_TRUE(dialog->Page().isHidden());
    EXPECT_FALSE(dialog->Page().Timer0Active());
    EXPECT_EQ(link.PortHandle, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "KQIFACE 2.1");
    EXPECT_EQ(dialog->height(), StripHeight() + 20);
    EXPECT_FALSE(dialog->Timer(2).isActive());
    ASSERT_TRUE(dialog->Timer(1).isActive());
    EXPECT_EQ(dialog->Timer(1).interval(), 100);

    unit.faults.silent = false;
    line.ClearAttempts();
    dialog->OnTimer(1);
    ASSERT_TRUE(dialog->Connected());
    ASSERT_FALSE(line.Attempts().empty());
    EXPECT_EQ(line.Attempts().front(), 3);
    EXPECT_EQ(link.LastPort, 3);
    EXPECT_EQ(dialog->windowTitle(), "KQIFACE 2.1 (S2.1H3)");
}

TEST_F(Shell, ForcedReloadDisconnectsLikeALostLink) {
    sim::SimUnit unit;
    line.Plug(0, unit);
    Start();
    dialog->OnTimer(1);
    ASSERT_TRUE(dialog->Connected());
    upgrade.ForcedReload = true;
    dialog->OnTimer(2);
    EXPECT_TRUE(dialog->Page().isHidden());
    EXPECT_EQ(link.PortHandle, nullptr);
    EXPECT_TRUE(dialog->Timer(1).isActive());
}

TEST_F(Shell, RestartAfterFirmwareTransferCountsAsAFailedAttempt) {
    sim::SimUnit unit;
    line.Plug(0, unit);
    Start();
    dialog->checkFirmwareUpgrade = [this] {
        link.ClosePort();
        return true;
    };
    dialog->OnTimer(1);
    EXPECT_FALSE(dialog->Connected());
    EXPECT_TRUE(dialog->Page().isHidden());
    EXPECT_EQ(dialog->Timer(1).interval(), 1000);
}

TEST_F(Shell, StatusTextsFollowTheLanguage) {
    settings.LanguageIndex = 1;
    sim::SimUnit unit;
    line.Plug(0, unit);
    Start();
    std::vector<QString> shown;
    QObject::connect(&dialog->Strip(), &CInfo::statusShown,
                     [&shown](const QString& text) { shown.push_back(text); });
    dialog->OnTimer(1);
    EXPECT_EQ(shown, (std::vector<QString>{"Attente connection...", "Matériel connecté"}));
}

TEST_F(Shell, EnterAndEscapeDoNotCloseTheWindow) {
    Start();
    dialog->show();
    for (const int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &press);
        EXPECT_TRUE(dialog->isVisible()) << key;
    }
}

class Strip : public ::testing::Test {
  protected:
    ManualClock clock;
    CInfo strip{clock, nullptr};
};

TEST_F(Strip, LaterTextReplacesEarlierAndTheTimerClearsOnlyTheText) {
    strip.SetProgress(50, 10);
    strip.ShowStatus("first", 3000, false);
    strip.ShowStatus("second", 500, false);
    EXPECT_EQ(strip.Text(), "second");
    EXPECT_EQ(strip.TextTimerInterval(), 500);
    EXPECT_TRUE(strip.isVisible());
    strip.OnTimer();
    EXPECT_EQ(strip.Text(), "");
    EXPECT_FALSE(strip.TextTimerActive());
    EXPECT_TRUE(strip.isVisible());
    EXPECT_EQ(strip.Progress().value(), 10);
}

TEST_F(Strip, WaitingShowBlocksForTheDuration) {
    const uint64_t before = clock.NowMs();
    strip.ShowStatus("Configuration Error", 3000, true);
    EXPECT_EQ(clock.NowMs() - before, 3000u);
    strip.ShowStatus("", 1, false);
    EXPECT_EQ(clock.NowMs() - before, 3000u);
    EXPECT_EQ(strip.TextTimerInterval(), 1);
}

TEST_F(Strip, ProgressRangeZeroHidesAndTheNextRangeShowsAgain) {
    strip.SetProgress(100, 5);
    EXPECT_EQ(strip.Progress().maximum(), 100);
    EXPECT_EQ(strip.Progress().value(), 5);
    strip.SetProgress(100, 60);
    EXPECT_EQ(strip.Progress().value(), 60);
    strip.SetProgress(0, 0);
    EXPECT_TRUE(strip.Progress().isHidden());
    strip.SetProgress(2048, 1);
    EXPECT_FALSE(strip.Progress().isHidden());
    EXPECT_EQ(strip.Progress().maximum(), 2048);
    EXPECT_EQ(strip.Progress().value(), 1);
}

}  // namespace
}  // namespace kq::test
