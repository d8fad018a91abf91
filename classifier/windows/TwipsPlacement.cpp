#include "windows/TwipsPlacement.h"

#include <QLabel>
#include <algorithm>

#include "core/Twips.h"

int TwipsPlacement::X(int twips) const {
    return Twips::ToPixels(twips, m_dpi.x);
}

int TwipsPlacement::Y(int twips) const {
    return Twips::ToPixels(twips, m_dpi.y);
}

void TwipsPlacement::Place(QWidget* widget, int left, int top, int width, int height) const {
    widget->setGeometry(X(left), Y(top), X(width), Y(height));
}

void TwipsPlacement::PlaceLabel(QLabel* label, const TwipsRect& rect) const {
    Place(label, rect);
    // The platform's font can be wider than the one the layout was drawn for;
    // a right-aligned caption then grows to the left, as far as the inside of
    // its frame, and only then to the right, rather than losing letters or
    // covering the frame's edge.
    const int needed = label->sizeHint().width();
    if (needed <= label->width()) return;
    const int innerLeft = label->parentWidget()->contentsRect().left();
    const int right = label->geometry().right() + 1;
    label->setGeometry(std::max(innerLeft, right - needed), label->y(), needed, label->height());
}
