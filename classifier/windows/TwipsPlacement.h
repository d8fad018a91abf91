#pragma once

#include "core/ScreenDpi.h"

class QLabel;
class QWidget;

// A control's place in its container, in twips.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

// Places a dialog's controls by the twips of its design on a screen of the
// given resolution.
class TwipsPlacement {
public:
    explicit TwipsPlacement(const ScreenDpi& dpi) : m_dpi(dpi) {}

    const ScreenDpi& Dpi() const { return m_dpi; }
    // Pixels of a twip length along the x or the y axis.
    int X(int twips) const;
    int Y(int twips) const;
    // Twips relative to the container.
    void Place(QWidget* widget, int left, int top, int width, int height) const;
    void Place(QWidget* widget, const TwipsRect& rect) const {
        Place(widget, rect.left, rect.top, rect.width, rect.height);
    }
    // A right-aligned caption that grows to the left when the platform's font
    // needs more room than the design gave it.
    void PlaceLabel(QLabel* label, const TwipsRect& rect) const;

private:
    ScreenDpi m_dpi;
};
