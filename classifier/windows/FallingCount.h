#pragma once

#include <QTimer>
#include <functional>
#include <optional>

// A count shown to the user that may change many times within one display
// frame, as the count of pictures still being drawn does while a batch's
// pictures arrive tens of microseconds apart. A rise, and the fall to 0, are
// shown at once; the falls between at most once a frame: the first at once,
// the frame's last at the frame's end.
class FallingCount {
public:
    explicit FallingCount(std::function<void(int)> show, int frameMilliseconds = 16);

    void Set(int count);
    // Shows `count` at once, whatever it follows: a count that stands for a
    // whole batch, not one step of a burst.
    void Show(int count);

private:
    std::function<void(int)> m_show;
    int m_shown = 0;
    std::optional<int> m_waiting;  // a fall that waits for the frame's end
    QTimer m_frame;
};
