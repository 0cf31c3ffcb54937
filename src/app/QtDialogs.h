#pragma once
// Message boxes (and later file choosers) through Qt.

#include <QWidget>

#include "platform/Dialogs.h"

namespace kq {

class QtDialogs : public UserDialogs {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    void ShowMessage(const std::string& text) override;

private:
    QWidget* parent_ = nullptr;
};

}  // namespace kq
