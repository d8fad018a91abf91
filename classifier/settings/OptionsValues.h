#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/SpectrogramParameterSet.h"

class CellSizeLimits;

// The Options dialog's fields as the user sees them (texts and list
// positions) and the values they stand for, both ways. The dialog only moves
// these to and from its controls, so every conversion and refusal it makes is
// here and is tested without a window.
namespace OptionsValues {

// The error number of a cell size that converts but cannot be laid out; the
// platform's "Invalid property value".
constexpr int CellSizeRefused = 380;

// The FFT size and frame length items, 8192 down to 32: the numbers fall
// while the choice rises, so choice k sits at position 8 - k.
const QStringList& SizeItems();
// "Hamming" to "Bartlett": the position is the choice.
const QStringList& WindowItems();

// What the dialog shows. A position of -1 selects nothing in its list.
struct Fields {
    QString CellWidth;
    QString CellHeight;
    int FFTSizePosition = -1;
    int FrameLengthPosition = -1;
    int WindowFunctionPosition = -1;
    QString HopSize;
    QString PowerMax;
    QString PowerMin;
};

// Twips.
struct CellSize {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// The fields for the main window's values. A choice outside its list selects
// nothing.
Fields FieldsFor(const CellSize& size, const SpectrogramParameterSet& params);

// The cell size of the width and height texts. Throws CorvaneError: a
// conversion error ("Type mismatch", "Overflow"), or CellSizeRefused with the
// message of `limits` for a size the grid cannot lay out.
CellSize CellSizeOf(const Fields& fields, const CellSizeLimits& limits);

// The parameter set of the fields; a list that selects nothing keeps the
// choice of `current`. Throws CorvaneError when a number does not convert
// (the powers are converted before the hop size). Nothing else is checked.
SpectrogramParameterSet ParameterSetOf(const Fields& fields,
                                       const SpectrogramParameterSet& current);

}  // namespace OptionsValues
