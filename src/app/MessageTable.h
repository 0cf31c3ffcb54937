#pragma once
// Status messages and page labels in six languages; row r in language l is
// element r * 6 + l.

#include <array>
#include <string>

namespace kq {

constexpr int kMessageRows = 30;
constexpr int kLanguages = 6;

// Rows the shell and page ask for by name.
enum MessageRow : int {
    kMsgWaitingConnection = 0,
    kMsgHardwareConnected = 1,
    kMsgConfigurationError = 2,
    kMsgUpgradeTo = 3,
    kMsgWriteError = 4,
    kMsgVerificationError = 5,
    kMsgVerifying = 6,
    kMsgRebooting = 7,
};

extern const std::array<const char*, kMessageRows * kLanguages> MessageTable;  // UTF-8

// The text of row in the language; empty for a row or language out of range.
std::string GetMessageText(int row, int languageIndex);

}  // namespace kq
