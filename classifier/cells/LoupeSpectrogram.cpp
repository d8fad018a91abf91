#include "cells/LoupeSpectrogram.h"

#include <QVariant>
#include <QWidget>
#include <limits>

#include "core/CorvaneError.h"

LoupeSpectrogram::LoupeSpectrogram(QWidget* control) : m_control(control) {
    m_control->setProperty("FrameLimit", QVariant::fromValue<int>(FrameLimit));
    m_control->setProperty("EverySample", QVariant::fromValue(true));
    m_control->setProperty("AutoContrast", QVariant::fromValue(true));
    // The loupe shows the selected recording and nothing else: no file dropped
    // onto it, no property pages of its own, and the keyboard stays with the grid.
    m_control->setAcceptDrops(false);
    m_control->setContextMenuPolicy(Qt::NoContextMenu);
    m_control->setFocusPolicy(Qt::NoFocus);
    m_control->setMouseTracking(true);
}

QString LoupeSpectrogram::Filename() const {
    return m_control->property("Filename").toString();
}

void LoupeSpectrogram::Show(const QString& path) {
    if (path == Filename()) return;
    m_control->setProperty("Filename", path);
}

void LoupeSpectrogram::SetShortProperty(const char* name, std::int32_t value) {
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max())
        throw CorvaneError::Overflow();
    m_control->setProperty(name, QVariant::fromValue(static_cast<short>(value)));
}

void LoupeSpectrogram::SetSPGParams(const SpectrogramParameterSet& params) {
    if (m_params == params) return;
    m_params.reset();
    SetShortProperty("FFTSizeChoice", params.FFTSizeChoice);
    SetShortProperty("FrameLengthChoice", params.FrameLengthChoice);
    m_control->setProperty("HopSize", QVariant::fromValue<int>(params.HopSize));
    SetShortProperty("WindowFunctionChoice", params.WindowFunctionChoice);
    m_control->setProperty("PowerMax", QVariant::fromValue<float>(params.PowerMax));
    m_control->setProperty("PowerMin", QVariant::fromValue<float>(params.PowerMin));
    m_params = params;
}

void LoupeSpectrogram::SetFloatSamples(bool floatSamples) {
    if (m_floatSamples == floatSamples) return;
    m_control->setProperty("FloatSamples", QVariant::fromValue(floatSamples));
    m_floatSamples = floatSamples;
}

StatusText::RecordingInfo LoupeSpectrogram::RecordingInfo() const {
    StatusText::RecordingInfo info;
    info.loaded = m_control->property("Loaded").toBool();
    info.sampleRate = m_control->property("SampleRate").toUInt();
    info.channels = m_control->property("Channels").toInt();
    info.bitsPerSample = m_control->property("BitsPerSample").toInt();
    info.totalFrames = m_control->property("TotalFrames").toLongLong();
    info.loadedFrames = m_control->property("LoadedFrames").toLongLong();
    return info;
}

QString LoupeSpectrogram::LoadError() const {
    return m_control->property("LoadError").toString();
}
