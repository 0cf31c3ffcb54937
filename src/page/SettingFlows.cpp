// Reading the unit's configuration into the page and applying edits to the unit.

#include <array>

#include "app/MessageTable.h"
#include "config/ConfigCodec.h"
#include "page/CSetting.h"

namespace kq {
namespace {

constexpr uint8_t kReadConfig82 = 0x70;
constexpr uint8_t kWriteConfig82 = 0x50;
constexpr uint8_t kBlockAccess = 0xC0;
constexpr uint8_t kAfterBlockWrite = 0xB0;
constexpr uint16_t kConfigBlock = 590;
constexpr uint16_t kDefaultBlock = 595;
constexpr int kFirstTickMs = 100;
constexpr int kTickMs = 200;

void SendBlockOpen(CXmit& link, uint8_t subcommand, uint16_t block) {
    const uint8_t data[3] = {subcommand, static_cast<uint8_t>(block & 0xFF),
                             static_cast<uint8_t>(block >> 8)};
    link.Transact(3, kBlockAccess, data, 500);
}

void SendBlockClose(CXmit& link) {
    const uint8_t data[1] = {0x02};
    link.Transact(1, kBlockAccess, data, 5000);
}

}  // namespace

void CSetting::OnConnected() {
    CXmit& link = context_.link;
    ApplyUnitLists(link.ModelCode, link.HardwareVersion);
    if (link.ModelCode != kModel78) {
        record.audioCodec = 1;
        record.videoCodec = 1;
        record.eitName.clear();
        record.eitText.clear();
    }
    show();
    applyCountdown = 0;
    defaultPending = 0;
    timer0_.start(kFirstTickMs);
    // The IQ calibration table is read here once the page carries it.
    ReloadConfiguration();
}

void CSetting::OnTimer() {
    timer0_.stop();
    if (applyCountdown != 0) {
        --applyCountdown;
        if (applyCountdown == 0) {
            ApplyConfiguration(0);
            if (defaultPending) {
                ApplyConfiguration(1);
                defaultPending = 0;
                context_.beeper.Beep(880, 200);
            }
        }
    } else {
        uint8_t reply[8] = {};
        if (context_.link.Identify(reply, sizeof reply) != 0 &&
            context_.link.ModelCode == kModel78 && reply[2] == 2) {
            ReloadConfiguration();  // changed on the unit's front panel
        }
    }
    timer0_.start(kTickMs);
}

void CSetting::ReloadConfiguration() {
    CXmit& link = context_.link;
    std::array<uint8_t, kConfigBlockSize> block{};
    bool received = false;
    if (link.ModelCode == kModel82) {
        received = link.Transact(0, kReadConfig82, nullptr, 500);
    } else {
        SendBlockOpen(link, 0x01, kConfigBlock);
        const uint8_t read[3] = {0x03, 0x00, 0x01};
        received = link.Transact(3, kBlockAccess, read, 5000);
    }
    // Without a block from the unit the page keeps what it shows.
    if (received) {
        const size_t length = std::min(static_cast<size_t>(link.ReplyLength), block.size());
        std::copy_n(link.ReplyData.begin(), length, block.begin());
        ReadConfigRecord({block.data(), length});
    }
}

void CSetting::ApplyConfiguration(int mode) {
    CXmit& link = context_.link;
    std::array<uint8_t, kConfigBlockSize> block{};
    const uint16_t length = WriteConfigRecord(block);
    if (mode != 0) {
        // Making the configuration the unit's default arrives with its own flow.
        return;
    }
    if (length != 0) {
        if (link.ModelCode == kModel82) {
            link.Transact(length, kWriteConfig82, block.data(), 500);
        } else {
            SendBlockOpen(link, 0x00, kConfigBlock);
            std::array<uint8_t, kConfigBlockSize + 1> write{};
            write[0] = 0x04;
            std::copy_n(block.begin(), length, write.begin() + 1);
            link.Transact(length + 1, kBlockAccess, write.data(), 5000);
            SendBlockClose(link);
            link.Transact(0, kAfterBlockWrite, nullptr, 500);
        }
    }
    applyCountdown = 0;
    ReloadConfiguration();
}

void CSetting::ReadConfigRecord(std::span<const uint8_t> block) {
    CXmit& link = context_.link;
    switch (DecodeConfigBlock(block, link.ModelCode, record)) {
        case DecodeOutcome::Model82:
            SetLogoText(QString::fromStdU16String(record.logoName));
            break;
        case DecodeOutcome::Model78:
            SendBlockClose(link);  // also for a block from a file: the unit expects it
            break;
        case DecodeOutcome::Unrecognised:
            context_.beeper.Beep(880, 1000);
            context_.status.ShowStatus(
                QString::fromStdString(
                    GetMessageText(kMsgConfigurationError, context_.settings.LanguageIndex)),
                10000, false);
            break;
    }
    UpdateData(false);
    RefreshValueLabels();
    applyCountdown = 0;
}

uint16_t CSetting::WriteConfigRecord(std::span<uint8_t> block) {
    UpdateData(true);  // the encoding goes on whatever the pull reports
    if (defaultPending) {
        record.logoName = LogoText().toStdU16String();
    }
    return EncodeConfigBlock(record, context_.link.ModelCode, block).value_or(0);
}

}  // namespace kq
