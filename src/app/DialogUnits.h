#pragma once
// Dialog templates give sizes in dialog units: a quarter of the font's average
// character width horizontally, an eighth of its height vertically. Converting
// through the font keeps the layout in proportion on any font and screen.

#include <QFont>
#include <QRect>

namespace kq {

// The font dialog templates are laid out for ("MS Shell Dlg" 8 pt, or its stand-in).
QFont DialogFont();

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int X(int units) const { return (units * baseX_ + 2) / 4; }
    int Y(int units) const { return (units * baseY_ + 4) / 8; }
    QRect Rect(int x, int y, int width, int height) const;

private:
    int baseX_;
    int baseY_;
};

}  // namespace kq
