#pragma once

// Logical dots per inch of the screen along each axis.
struct ScreenDpi {
    double x = 96.0;
    double y = 96.0;
    static ScreenDpi Primary();
};
