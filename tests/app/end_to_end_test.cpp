// The whole tool against kqsim on a pseudo-terminal, in real time: connecting,
// an edit reaching the unit about half a second after the last keystroke, the unit
// unplugged and plugged back in.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "KqsimProcess.h"
#include "Recorders.h"
#include "app/CKQ300IfaceDlg.h"
#include "config/ConfigCodec.h"
#include "platform/SystemPorts.h"

namespace kq::test {
namespace {

namespace fs = std::filesystem;

// Runs the event loop until done() or timeoutMs; returns how long it took, or -1.
template <typename Done>
qint64 RunUntil(Done done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (done())
            return timer.elapsed();
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done() ? timer.elapsed() : -1;
}

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("kqe2e-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "state");
        setenv("KQIFACE_PORTS", (dir_ / "COM%d").c_str(), 1);
        opener_ = MakeSystemPortOpener();
        link_ = std::make_unique<CXmit>(*opener_, SystemClock());
    }
    void TearDown() override {
        unsetenv("KQIFACE_PORTS");
        fs::remove_all(dir_);
    }
    int UnitFrequency() const {
        std::ifstream in(dir_ / "state" / "configuration-0x82.bin", std::ios::binary);
        const std::vector<uint8_t> block((std::istreambuf_iterator<char>(in)), {});
        ConfigRecord record;
        DecodeConfigBlock(block, 0x82, record);
        return record.frequencyKHz;
    }

    fs::path dir_;
    std::unique_ptr<PortOpener> opener_;
    std::unique_ptr<CXmit> link_;
    RecordingBeeper beeper_;
    RecordingDialogs dialogs_;
    AppSettings settings_;
    UpgradeRequest upgrade_;
};

TEST_F(EndToEnd, EditReachesTheUnitAndTheToolFollowsUnplugAndReplug) {
    KqsimProcess sim(dir_ / "COM3", {"--model", "0x82", "--sw", "21", "--hw", "3", "--state",
                                     (dir_ / "state").string()});
    ASSERT_TRUE(sim.Running());
    CKQ300IfaceDlg dialog({*link_, SystemClock(), beeper_, dialogs_, settings_, upgrade_});
    dialog.OnInitDialog();
    dialog.show();
    ASSERT_GE(RunUntil([&] { return dialog.Connected(); }, 3000), 0);
    EXPECT_EQ(dialog.windowTitle(), "KQIFACE 2.1 (S2.1H3)");
    auto* frequency = qobject_cast<QLineEdit*>(dialog.Page().Control(1007));
    ASSERT_GE(RunUntil([&] { return frequency->text() == "474000"; }, 1000), 0);

    // Typing "522000" a key at a time, 60 ms apart.
    frequency->clear();
    QElapsedTimer sinceLastKey;
    for (const char* typed : {"5", "52", "522", "5220", "52200", "522000"}) {
        RunUntil([] { return false; }, 60);
        frequency->setText(typed);
        sinceLastKey.start();
    }
    ASSERT_GE(RunUntil([&] { return UnitFrequency() == 522000; }, 2000), 0)
        << "the unit never received the new frequency";
    // Three ticks of 200 ms after the last change, the first of them 0 to 200 ms away.
    EXPECT_GE(sinceLastKey.elapsed(), 390) << "applied before the user stopped typing";
    EXPECT_LE(sinceLastKey.elapsed(), 1000);

    sim.Stop();
    ASSERT_GE(RunUntil([&] { return dialog.Page().isHidden(); }, 1500), 0);
    EXPECT_EQ(dialog.windowTitle(), "KQIFACE 2.1");
    EXPECT_GE(RunUntil([&] { return dialog.Strip().Text() == "Waiting connection..."; }, 1500), 0);

    sim.Start();
    const qint64 back = RunUntil([&] { return dialog.Connected(); }, 3000);
    ASSERT_GE(back, 0);
    EXPECT_LE(back, 2000) << "reconnects within about a second";
    EXPECT_GE(RunUntil([&] { return frequency->text() == "522000"; }, 1000), 0)
        << "the unit remembered the edit across its restart";
    EXPECT_EQ(link_->LastPort, 3);
}

}  // namespace
}  // namespace kq::test
