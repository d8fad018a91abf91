#include "settings/OptionsValues.h"

#include "core/CorvaneError.h"
#include "settings/CellSizeLimits.h"
#include "settings/TextConversion.h"

namespace OptionsValues {

namespace {

// List position of a choice whose numbers fall while the choice rises; the
// same mapping turns a position back into its choice. Wide enough for any
// 32-bit choice.
std::int64_t ReversedPosition(std::int64_t position) {
    return (SizeItems().size() - 1) - position;
}

// `position`, or -1 when the list has no such position.
int PositionIn(const QStringList& items, std::int64_t position) {
    return position >= 0 && position < items.size() ? static_cast<int>(position) : -1;
}

}  // namespace

const QStringList& SizeItems() {
    static const QStringList items{
        QStringLiteral("8192"), QStringLiteral("4096"), QStringLiteral("2048"),
        QStringLiteral("1024"), QStringLiteral("512"),  QStringLiteral("256"),
        QStringLiteral("128"),  QStringLiteral("64"),   QStringLiteral("32")};
    return items;
}

const QStringList& WindowItems() {
    static const QStringList items{QStringLiteral("Hamming"), QStringLiteral("Hanning"),
                                   QStringLiteral("Rectangular"), QStringLiteral("Blackman"),
                                   QStringLiteral("Bartlett")};
    return items;
}

Fields FieldsFor(const CellSize& size, const SpectrogramParameterSet& params) {
    Fields fields;
    fields.CellWidth = TextConversion::LongText(size.Width);
    fields.CellHeight = TextConversion::LongText(size.Height);
    fields.FFTSizePosition = PositionIn(SizeItems(), ReversedPosition(params.FFTSizeChoice));
    fields.FrameLengthPosition =
        PositionIn(SizeItems(), ReversedPosition(params.FrameLengthChoice));
    fields.WindowFunctionPosition = PositionIn(WindowItems(), params.WindowFunctionChoice);
    fields.HopSize = TextConversion::LongText(params.HopSize);
    fields.PowerMax = TextConversion::SingleText(params.PowerMax);
    fields.PowerMin = TextConversion::SingleText(params.PowerMin);
    return fields;
}

CellSize CellSizeOf(const Fields& fields, const CellSizeLimits& limits) {
    const CellSize size{TextConversion::ToLong(fields.CellWidth),
                        TextConversion::ToLong(fields.CellHeight)};
    const QString problem = limits.Problem(size.Width, size.Height);
    if (!problem.isEmpty()) throw CorvaneError(CellSizeRefused, problem);
    return size;
}

SpectrogramParameterSet ParameterSetOf(const Fields& fields,
                                       const SpectrogramParameterSet& current) {
    SpectrogramParameterSet params = current;
    params.PowerMax = TextConversion::ToSingle(fields.PowerMax);
    params.PowerMin = TextConversion::ToSingle(fields.PowerMin);
    params.HopSize = TextConversion::ToLong(fields.HopSize);
    if (fields.FFTSizePosition >= 0)
        params.FFTSizeChoice = static_cast<std::int32_t>(ReversedPosition(fields.FFTSizePosition));
    if (fields.FrameLengthPosition >= 0) {
        params.FrameLengthChoice =
            static_cast<std::int32_t>(ReversedPosition(fields.FrameLengthPosition));
    }
    if (fields.WindowFunctionPosition >= 0)
        params.WindowFunctionChoice = fields.WindowFunctionPosition;
    return params;
}

}  // namespace OptionsValues
