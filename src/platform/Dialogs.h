#pragma once
// What the tool asks of the desktop besides its own window: message boxes now,
// file choosers later. Tests substitute a recorder.

#include <string>

namespace kq {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A modal message box with an OK button; text is UTF-8.
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace kq
