#include "app/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace kq {

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox::warning(parent_, QApplication::applicationDisplayName(),
                         QString::fromStdString(text));
}

}  // namespace kq
