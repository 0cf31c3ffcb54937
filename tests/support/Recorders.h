#pragma once
// Stand-ins for the desktop that remember what the tool asked of them.

#include <string>
#include <utility>
#include <vector>

#include "platform/Beep.h"
#include "platform/Dialogs.h"

namespace kq::test {

class RecordingBeeper : public Beeper {
  public:
    void Beep(int frequencyHz, int durationMs) override {
        beeps.emplace_back(frequencyHz, durationMs);
    }
    std::vector<std::pair<int, int>> beeps;
};

class RecordingDialogs : public UserDialogs {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

}  // namespace kq::test
