#pragma once

#include "framework/COlePropertyPage.h"

class QComboBox;
class QLineEdit;

// The "Spectrogram Parameters" page: the six spectrogram parameters, with
// a hop size of at least 1, a frame length no larger than the FFT size, and a
// minimum power below the maximum power.
class CSPGParams : public COlePropertyPage {
    Q_OBJECT
public:
    explicit CSPGParams(QWidget* parent = nullptr);

    QComboBox* FrameLengthList() const { return m_frameLengthList; }
    QComboBox* FFTSizeList() const { return m_fftSizeList; }
    QComboBox* WindowFunctionList() const { return m_windowFunctionList; }
    QLineEdit* HopSizeEdit() const { return m_hopSizeEdit; }
    QLineEdit* PowerMaxEdit() const { return m_powerMaxEdit; }
    QLineEdit* PowerMinEdit() const { return m_powerMinEdit; }

protected:
    void DoDataExchange(CDataExchange& exchange) override;

private:
    void CreateFields();

    int m_hopSize = 0;
    float m_powerMin = 0;
    float m_powerMax = 0;
    int m_fftSizeIndex = -1;
    int m_frameLengthIndex = -1;
    int m_windowIndex = -1;

    QComboBox* m_frameLengthList = nullptr;
    QComboBox* m_fftSizeList = nullptr;
    QLineEdit* m_hopSizeEdit = nullptr;
    QComboBox* m_windowFunctionList = nullptr;
    QLineEdit* m_powerMaxEdit = nullptr;
    QLineEdit* m_powerMinEdit = nullptr;
};
