// Reading the unit's configuration into the page and applying edits, checked against
// the requests the simulated unit recorded. The page timer is ticked directly.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "FactoryConfig.h"
#include "SimLine.h"
#include "SimulatedDesk.h"
#include "UnitState.h"
#include "config/ConfigCodec.h"
#include "page/CSetting.h"

namespace kq::test {
namespace {

using Bytes = std::vector<uint8_t>;

class Flows : public ::testing::Test, protected SimulatedDesk {
  protected:
    void Connect(uint8_t model) {
        unit = std::make_unique<sim::SimUnit>(sim::SimIdentity{.model = model});
        line.Plug(1, *unit);
        ASSERT_TRUE(link.ScanPorts());
        page = std::make_unique<CSetting>(context, nullptr);
        page->InitSettingsPage();
        page->OnConnected();
        unit->ClearRecords();
    }
    QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(page->Control(id)); }
    std::vector<uint8_t> Commands() const {
        std::vector<uint8_t> codes;
        for (const auto& r : unit->Requests()) codes.push_back(r.command);
        return codes;
    }
    ConfigRecord UnitRecord() const {
        ConfigRecord r;
        DecodeConfigBlock(unit->Configuration(), unit->identity.model, r);
        return r;
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) page->OnTimer();
    }

    std::unique_ptr<sim::SimUnit> unit;
    std::unique_ptr<CSetting> page;
};

TEST_F(Flows, ConnectingShowsTheUnitsConfiguration) {
    for (const uint8_t model : {uint8_t{0x82}, uint8_t{0x78}}) {
        Connect(model);
        const ConfigRecord factory = sim::FactoryRecord(model);
        EXPECT_EQ(Edit(1007)->text(), QString::number(factory.frequencyKHz));
        EXPECT_EQ(Edit(1019)->text().toStdU16String(), factory.serviceName);
        EXPECT_EQ(page->applyCountdown, 0);
        EXPECT_TRUE(page->Timer0Active());
        link.ClosePort();
        line.Unplug(1);
    }
}

TEST_F(Flows, EditsCloseTogetherLeadToOneApplyOnTheThirdTickAfterTheLast) {
    Connect(0x82);
    Edit(1007)->setText("482000");
    EXPECT_EQ(page->applyCountdown, 3);
    Ticks(1);
    Edit(1007)->setText("490000");  // 200 ms later
    Ticks(2);
    EXPECT_TRUE(unit->Requests().empty()) << "no poll and no apply while counting down";
    Ticks(1);
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x50, 0x70}));
    EXPECT_EQ(UnitRecord().frequencyKHz, 490000);
    EXPECT_EQ(page->applyCountdown, 0);
    Ticks(1);
    EXPECT_EQ(Commands().back(), 0x10) << "idle again: the tick polls";
}

TEST_F(Flows, BareSliderScrollAppliesOnTheTenthTick) {
    Connect(0x82);
    auto* light = qobject_cast<QSlider*>(page->Control(1032));
    light->setValue(77);  // a scroll with no release notification after it
    EXPECT_EQ(page->applyCountdown, 10);
    Ticks(9);
    EXPECT_TRUE(unit->Requests().empty());
    Ticks(1);
    EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x50, 0x70}));
    EXPECT_EQ(UnitRecord().light, 77);
}

TEST_F(Flows, Model78ApplySendsTheBlockSequence) {
    Connect(0x78);
    Edit(1019)->setText("News 24");
    Ticks(3);
    ConfigRecord expected = page->record;
    Bytes block(kConfigBlockSize);
    const uint16_t length = EncodeConfigBlock(expected, 0x78, block).value();
    Bytes write = {0x04};
    write.insert(write.end(), block.begin(), block.begin() + length);
    const std::vector<sim::SimRequest> sequence = {
        {0xC0, {0x00, 0x4E, 0x02}},
        {0xC0, write},
        {0xC0, {0x02}},
        {0xB0, {}},
        {0xC0, {0x01, 0x4E, 0x02}},
        {0xC0, {0x03, 0x00, 0x01}},
        {0xC0, {0x02}},
    };
    EXPECT_EQ(unit->Requests(), sequence);
    EXPECT_EQ(UnitRecord().serviceName, u"News 24");
    EXPECT_EQ(unit->blockCommits, 1);
}

TEST_F(Flows, Model82ApplySendsTheBlockThenReadsItBack) {
    Connect(0x82);
    Edit(1036)->setText("Regional");
    Ticks(3);
    ASSERT_EQ(unit->Requests().size(), 2u);
    EXPECT_EQ(unit->Requests()[0].command, 0x50);
    EXPECT_EQ(unit->Requests()[0].data, unit->Configuration());
    EXPECT_EQ(unit->Requests()[1], (sim::SimRequest{0x70, {}}));
    EXPECT_EQ(UnitRecord().networkName, u"Regional");
}

TEST_F(Flows, ChangedStatusReloadsOnModel78Only) {
    for (const uint8_t model : {uint8_t{0x78}, uint8_t{0x82}}) {
        Connect(model);
        sim::FrontPanelNextChannel(*unit);  // the unit raises status 2
        unit->ClearRecords();
        Ticks(1);
        const ConfigRecord factory = sim::FactoryRecord(model);
        if (model == 0x78) {
            EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x10, 0xC0, 0xC0, 0xC0}));
            EXPECT_EQ(Edit(1007)->text(), QString::number(factory.frequencyKHz + 8000));
        } else {
            EXPECT_EQ(Commands(), (std::vector<uint8_t>{0x10}));
            EXPECT_EQ(Edit(1007)->text(), QString::number(factory.frequencyKHz));
        }
        link.ClosePort();
        line.Unplug(1);
    }
}

TEST_F(Flows, UnrecognisedBlockIsReportedAndChangesNothing) {
    Connect(0x78);
    const QString shownBefore = Edit(1007)->text();
    unit->SetConfiguration({'N', 'O', 'P', 'E', 0, 9, 0});
    page->ReloadConfiguration();
    EXPECT_EQ(beeper.beeps, (std::vector<std::pair<int, int>>{{880, 1000}}));
    ASSERT_FALSE(status.shown.empty());
    EXPECT_EQ(status.shown.back(), std::make_pair(QString("Configuration Error"), 10000));
    EXPECT_EQ(Edit(1007)->text(), shownBefore);
    EXPECT_EQ(page->applyCountdown, 0);
}

TEST_F(Flows, FailedReadLeavesThePageAsItWas) {
    Connect(0x82);
    const ConfigRecord before = page->record;
    unit->faults.refused = {0x70};
    unit->SetConfiguration(Bytes(80, 0x00));  // would read as an empty configuration
    page->ReloadConfiguration();
    EXPECT_EQ(page->record.frequencyKHz, before.frequencyKHz);
    EXPECT_EQ(Edit(1019)->text().toStdU16String(), before.serviceName);
    EXPECT_TRUE(beeper.beeps.empty());
}

TEST_F(Flows, LostUnitIsNoticedAtTheNextPoll) {
    Connect(0x82);
    unit->faults.silent = true;
    Ticks(1);
    EXPECT_EQ(link.ErrorFlag, 1);
}

TEST(UnitState, ConfigurationSurvivesARestart) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("kqstate-" + std::to_string(getpid()));
    for (const uint8_t model : {uint8_t{0x82}, uint8_t{0x78}}) {
        fs::remove_all(folder);
        std::string error;
        sim::SimUnit first({.model = model});
        ASSERT_TRUE(sim::LoadUnitState(folder, first, error)) << error;
        sim::FrontPanelNextChannel(first);
        ASSERT_TRUE(sim::SaveUnitState(folder, first, error)) << error;

        sim::SimUnit second({.model = model});
        EXPECT_NE(second.Configuration(), first.Configuration());
        ASSERT_TRUE(sim::LoadUnitState(folder, second, error)) << error;
        EXPECT_EQ(second.Configuration(), first.Configuration());
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace kq::test
