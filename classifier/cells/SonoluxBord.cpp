#include "cells/SonoluxBord.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QVariant>
#include <limits>

#include "cells/CellMarks.h"
#include "core/CorvaneError.h"
#include "core/Twips.h"

SonoluxBord::SonoluxBord(QWidget* control, int index, const ScreenDpi& dpi, QWidget* parent)
    : QWidget(parent),
      m_control(control),
      m_index(index),
      m_dpi(dpi),
      m_marks(nullptr),
      m_properties(control) {
    m_borderTwipsX = static_cast<std::int16_t>(ConvertPixelsToTwips(FramePixels, 0));
    m_borderTwipsY = static_cast<std::int16_t>(ConvertPixelsToTwips(FramePixels, 1));
    m_control->setParent(this);
    m_control->installEventFilter(this);
    // Every cell shows its recording with the window's one parameter set, so the
    // control's own property pages are not offered here.
    m_control->setContextMenuPolicy(Qt::NoContextMenu);
    setFocusProxy(m_control);
    // The pointer readout follows the pointer over the spectrogram.
    m_control->setMouseTracking(true);
    // Made after the control, so it lies over it.
    m_marks = new CellMarks(this);
    // The cell paints its border strip itself, in the window's colour, so Qt
    // knows it covers all of its rectangle. A transparent cell around an opaque
    // control leaves a hole in the window's region for every cell: each repaint
    // of the window then clipped 300 cells against a region of hundreds of
    // rectangles, and still painted none of them. Only a plain colour looks the
    // same painted by the cell: a gradient, a translucent colour or a style
    // sheet's background is left to the window, as before.
    FillBorderWhereThatLooksTheSame();
    ConnectControlSignals();
    SizeConstituents();
}

void SonoluxBord::ConnectControlSignals() {
    // By name, as every other use of the control: a module without these
    // notifications simply sends none.
    if (m_control->metaObject()->indexOfSignal("LoadStateChanged()") >= 0) {
        connect(m_control, SIGNAL(LoadStateChanged()), this, SLOT(OnControlLoadStateChanged()));
    }
    if (m_control->metaObject()->indexOfSignal("PlayStateChanged()") >= 0) {
        connect(m_control, SIGNAL(PlayStateChanged()), this, SLOT(OnControlPlayStateChanged()));
    }
    if (m_control->metaObject()->indexOfSignal("PictureStateChanged()") >= 0) {
        connect(m_control, SIGNAL(PictureStateChanged()), this,
                SLOT(OnControlPictureStateChanged()));
    }
    if (m_control->metaObject()->indexOfSignal("PlayPositionChanged()") >= 0) {
        connect(m_control, SIGNAL(PlayPositionChanged()), this,
                SLOT(OnControlPlayPositionChanged()));
    }
}

void SonoluxBord::OnControlLoadStateChanged() {
    // A load the cell asked for that the control finished at once is marked
    // once the write returns; every other load (run off the window thread, or
    // of a file dropped onto the control) is marked when it is taken in.
    if (!m_settingFilename) RefreshMarks(Filename());
    emit LoadStateChanged(m_index);
}

void SonoluxBord::OnControlPlayStateChanged() {
    RefreshPlayhead();
    emit PlayStateChanged(m_index);
}

void SonoluxBord::OnControlPictureStateChanged() {
    emit PictureStateChanged(m_index);
}

void SonoluxBord::OnControlPlayPositionChanged() {
    RefreshPlayhead();
}

void SonoluxBord::RefreshPlayhead() {
    if (!IsPlaying()) {
        m_marks->SetPlayheadX(-1);
        emit PlayheadMoved(-1.0);
        return;
    }
    emit PlayheadMoved(PlayPosition());
    const StatusText::RecordingInfo info = RecordingInfo();
    m_marks->SetPlayheadX(
        CellMarks::PlayheadX(PlayPosition(), info.loadedFrames, info.sampleRate, m_marks->width()));
}

std::int32_t SonoluxBord::ConvertPixelsToTwips(std::int32_t lngPixels,
                                               std::int32_t lngDirection) const {
    return Twips::FromPixels(lngPixels, lngDirection == 0 ? m_dpi.x : m_dpi.y);
}

void SonoluxBord::SetLeft(std::int32_t twips) {
    m_left = twips;
    PlaceCell();
}

void SonoluxBord::SetTop(std::int32_t twips) {
    m_top = twips;
    PlaceCell();
}

void SonoluxBord::SetWidth(std::int32_t twips) {
    if (twips == m_width) return;
    m_width = twips;
    PlaceCell();
    SizeConstituents();
}

void SonoluxBord::SetHeight(std::int32_t twips) {
    if (twips == m_height) return;
    m_height = twips;
    PlaceCell();
    SizeConstituents();
}

void SonoluxBord::PlaceCell() {
    const int left = Twips::ToPixels(m_left, m_dpi.x);
    const int top = Twips::ToPixels(m_top, m_dpi.y);
    const int right = Twips::ToPixels(static_cast<double>(m_left) + m_width, m_dpi.x);
    const int bottom = Twips::ToPixels(static_cast<double>(m_top) + m_height, m_dpi.y);
    setGeometry(left, top, std::max(0, right - left), std::max(0, bottom - top));
    // A hidden cell gets its resize event only when shown.
    PlaceControl();
}

void SonoluxBord::SizeConstituents() {
    m_controlWidth = static_cast<float>(m_width) - 2.0f * m_borderTwipsX;
    m_controlHeight = static_cast<float>(m_height) - 2.0f * m_borderTwipsY;
    PlaceControl();
    update();
}

void SonoluxBord::PlaceControl() {
    // Placed from the cell's own pixels rather than from its twips: the cell's
    // edges round to whole pixels on their own, so a row of cells 1000 twips high
    // is 66 pixels here and 67 there, and only the pixels keep the frame whole.
    // A cell smaller than its two borders shows a spectrogram of no size.
    m_control->setGeometry(FramePixels, FramePixels, std::max(0, width() - 2 * FramePixels),
                           std::max(0, height() - 2 * FramePixels));
    if (m_marks) m_marks->setGeometry(m_control->geometry());
}

void SonoluxBord::SetPlay(bool aPlay) {
    // The control takes a Boolean as its 16-bit form: true is -1.
    m_control->setProperty("PlayOnClick", QVariant::fromValue<short>(aPlay ? -1 : 0));
}

void SonoluxBord::Play() {
    QMetaObject::invokeMethod(m_control, "Play");
}

void SonoluxBord::Stop() {
    QMetaObject::invokeMethod(m_control, "Stop");
}

double SonoluxBord::PlayPosition() const {
    return m_control->property("PlayPosition").toDouble();
}

void SonoluxBord::SetPlaybackSpeedDivisor(std::int16_t divisor) {
    SetShortProperty("PlaybackSpeedDivisor", divisor);
}

std::int16_t SonoluxBord::PlaybackSpeedDivisor() const {
    const QVariant divisor = m_control->property("PlaybackSpeedDivisor");
    return divisor.isValid() ? divisor.value<short>() : std::int16_t{1};
}

void SonoluxBord::SetFrameLimit(std::int32_t frames) {
    m_control->setProperty("FrameLimit", QVariant::fromValue<int>(frames));
}

void SonoluxBord::SetFloatSamples(bool floatSamples) {
    m_control->setProperty("FloatSamples", QVariant::fromValue(floatSamples));
}

void SonoluxBord::SetEverySample(bool everySample) {
    m_control->setProperty("EverySample", QVariant::fromValue(everySample));
}

void SonoluxBord::SetAutoContrast(bool autoContrast) {
    m_control->setProperty("AutoContrast", QVariant::fromValue(autoContrast));
}

void SonoluxBord::SetShortProperty(const char* name, std::int32_t value) {
    if (value < std::numeric_limits<short>::min() || value > std::numeric_limits<short>::max()) {
        throw CorvaneError::Overflow();
    }
    m_control->setProperty(name, QVariant::fromValue(static_cast<short>(value)));
}

void SonoluxBord::UpdateSPGParams(std::int32_t FFTSizeChoice, std::int32_t FrameLengthChoice,
                                  std::int32_t HopSize, std::int32_t WindowFunctionChoice,
                                  float PowerMax, float PowerMin) {
    SetShortProperty("FFTSizeChoice", FFTSizeChoice);
    SetShortProperty("FrameLengthChoice", FrameLengthChoice);
    m_control->setProperty("HopSize", QVariant::fromValue<int>(HopSize));
    SetShortProperty("WindowFunctionChoice", WindowFunctionChoice);
    m_control->setProperty("PowerMax", QVariant::fromValue<float>(PowerMax));
    m_control->setProperty("PowerMin", QVariant::fromValue<float>(PowerMin));
}

void SonoluxBord::GetSPGParams(std::int32_t& FFTSizeChoice, std::int32_t& FrameLengthChoice,
                               std::int32_t& HopSize, std::int32_t& WindowFunctionChoice,
                               float& PowerMax, float& PowerMin) const {
    auto readShort = [this](const char* name) {
        return static_cast<std::int32_t>(m_control->property(name).value<short>());
    };
    FFTSizeChoice = readShort("FFTSizeChoice");
    FrameLengthChoice = readShort("FrameLengthChoice");
    HopSize = m_control->property("HopSize").toInt();
    WindowFunctionChoice = readShort("WindowFunctionChoice");
    PowerMax = m_control->property("PowerMax").toFloat();
    PowerMin = m_control->property("PowerMin").toFloat();
}

void SonoluxBord::GiveFocus() {
    m_control->setFocus(Qt::OtherFocusReason);
}

void SonoluxBord::RefreshToolTip() {
    m_control->setToolTip(Filename());
}

bool SonoluxBord::IsFrameShown() const {
    // The window keeps its focus widget while a menu or another window has the
    // keyboard, so the selection survives both.
    return m_control->window()->focusWidget() == m_control;
}

bool SonoluxBord::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_control &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        OnFocusChanged(event->type() == QEvent::FocusIn);
    return QWidget::eventFilter(watched, event);
}

void SonoluxBord::OnFocusChanged(bool gained) {
    RefreshToolTip();
    RefreshFrame();
    if (!gained || !parentWidget()) return;
    // The focus can move between cells while the window is inactive, which tells
    // the cell it left nothing; its frame goes once the new cell takes the focus.
    // Walked as they stand, without a list made of them: this runs on every
    // keystroke that moves the selection, among up to hundreds of cells.
    for (QObject* child : parentWidget()->children()) {
        auto* other = qobject_cast<SonoluxBord*>(child);
        if (other && other != this && other->m_framePainted) other->RefreshFrame();
    }
}

void SonoluxBord::RefreshFrame() {
    if (IsFrameShown() != m_framePainted) update();
}

void SonoluxBord::FillBorderWhereThatLooksTheSame() {
    const QBrush& own = palette().brush(backgroundRole());
    const QWidget* top = window();
    const bool plain = own.style() == Qt::SolidPattern && own.isOpaque() &&
                       own == top->palette().brush(QPalette::Window) &&
                       qApp->styleSheet().isEmpty() && top->styleSheet().isEmpty();
    if (plain != autoFillBackground()) setAutoFillBackground(plain);
}

void SonoluxBord::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::ParentChange)
        FillBorderWhereThatLooksTheSame();
    QWidget::changeEvent(event);
}

void SonoluxBord::resizeEvent(QResizeEvent*) {
    PlaceControl();
}

void SonoluxBord::paintEvent(QPaintEvent*) {
    m_framePainted = IsFrameShown();
    if (!m_framePainted) return;
    // An inside-solid frame: the whole border width lies within the cell.
    QPainter painter(this);
    const QColor red(255, 0, 0);
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, FramePixels, red);
    painter.fillRect(0, h - FramePixels, w, FramePixels, red);
    painter.fillRect(0, 0, FramePixels, h, red);
    painter.fillRect(w - FramePixels, 0, FramePixels, h, red);
}
