#pragma once

#include <QString>
#include <functional>
#include <vector>

// One axis of the loupe's picture: values from 0 to High() laid out linearly
// over a span of pixels, and the ticks worth labelling on it. Pixels are the
// loupe's own, as doubles measured from pixel edges; the span may run
// backwards, as a frequency axis grows upwards.
class LoupeAxis {
public:
    struct Tick {
        double value;
        double pixel;  // where the tick is drawn
        QString label;
    };
    // Pixels a label takes along the axis: its width on a horizontal axis,
    // its height on a vertical one.
    using LabelExtent = std::function<double(const QString&)>;

    // 0 lies at `pixelAtZero` and `high` at `pixelAtHigh`. An axis whose
    // `high` is not above 0 (no recording) has no ticks.
    LoupeAxis(double high, double pixelAtZero, double pixelAtHigh);

    double High() const { return m_high; }
    double PixelOf(double value) const;
    // The value at `pixel`, held within 0 .. High().
    double ValueAt(double pixel) const;
    // `value` with as many decimals as one pixel of this axis tells apart.
    QString ValueText(double value) const;

    // Ticks at the multiples of the smallest step of 1, 2 or 5 times a power
    // of ten whose labels, centred on their ticks, stay at least `gap` pixels
    // apart; from 0 to at most High(), increasing. Only the tick at 0 when no
    // step leaves room for two; none on an axis without values.
    std::vector<Tick> Ticks(const LabelExtent& extent, double gap) const;

private:
    // A step of `mantissa` (1, 2 or 5) times ten to the `exponent`.
    struct Step {
        int mantissa;
        int exponent;
        double Times(double k) const;
        Step Next() const;
    };
    static Step SmallestStepOf(double least);
    double Length() const;
    std::vector<Tick> TicksAt(Step step) const;
    static bool LabelsFit(const std::vector<Tick>& ticks, const LabelExtent& extent, double gap);

    double m_high;
    double m_pixelAtZero;
    double m_pixelAtHigh;
};
