#include "pages/CSPGParams.h"

#include <QComboBox>
#include <QLineEdit>
#include <limits>

namespace {

const QStringList Sizes{"32", "64", "128", "256", "512", "1024", "2048", "4096", "8192"};
const QStringList WindowFunctions{"Hamming", "Hanning", "Rectangular", "Blackman", "Bartlett"};

}  // namespace

CSPGParams::CSPGParams(QWidget* parent)
    : COlePropertyPage(QStringLiteral("Spectrogram Parameters"), QSize(250, 110), parent) {
    CreateFields();
}

void CSPGParams::CreateFields() {
    AddLabel(QStringLiteral("Frame Length"), QRect(10, 10, 44, 8));
    m_frameLengthList = AddList(Sizes, QRect(10, 20, 45, 83));
    AddLabel(QStringLiteral("FFT Size"), QRect(10, 35, 29, 8));
    m_fftSizeList = AddList(Sizes, QRect(10, 45, 48, 82));
    AddLabel(QStringLiteral("Hop Size"), QRect(10, 60, 30, 8));
    m_hopSizeEdit = AddEdit(QRect(10, 70, 50, 12));
    AddLabel(QStringLiteral("Window Function"), QRect(95, 11, 56, 8));
    m_windowFunctionList = AddList(WindowFunctions, QRect(95, 20, 48, 65));
    AddLabel(QStringLiteral("Power Max (dB)"), QRect(95, 35, 51, 8));
    m_powerMaxEdit = AddEdit(QRect(95, 45, 50, 14));
    AddLabel(QStringLiteral("Power Min (dB)"), QRect(95, 60, 49, 8));
    m_powerMinEdit = AddEdit(QRect(95, 70, 50, 12));

    m_frameLengthList->setObjectName(QStringLiteral("cboFrameLength"));
    m_fftSizeList->setObjectName(QStringLiteral("cboFFTSize"));
    m_hopSizeEdit->setObjectName(QStringLiteral("txtHopSize"));
    m_windowFunctionList->setObjectName(QStringLiteral("cboWindowFunction"));
    m_powerMaxEdit->setObjectName(QStringLiteral("txtPowerMax"));
    m_powerMinEdit->setObjectName(QStringLiteral("txtPowerMin"));
}

void CSPGParams::DoDataExchange(CDataExchange& exchange) {
    exchange.Integer(m_hopSizeEdit, "HopSize", m_hopSize);
    exchange.Range(m_hopSizeEdit, m_hopSize, 1, std::numeric_limits<int>::max());
    exchange.Single(m_powerMinEdit, "PowerMin", m_powerMin);
    exchange.Single(m_powerMaxEdit, "PowerMax", m_powerMax);
    exchange.ListIndex(m_fftSizeList, "FFTSizeChoice", m_fftSizeIndex);
    exchange.ListIndex(m_frameLengthList, "FrameLengthChoice", m_frameLengthIndex);
    exchange.ListIndex(m_windowFunctionList, "WindowFunctionChoice", m_windowIndex);
    // Both lists hold the same sizes in the same order, so comparing the
    // positions compares the sizes.
    exchange.Check(m_frameLengthIndex <= m_fftSizeIndex, m_frameLengthList,
                   QStringLiteral("Frame length must not be larger than FFTsize."));
    // Written so that a minimum that cannot be compared (not a number) fails too.
    exchange.Check(m_powerMin < m_powerMax, m_powerMaxEdit,
                   QStringLiteral("Minimum power must be less than maximum power."));
    exchange.PostProcessing();
}
