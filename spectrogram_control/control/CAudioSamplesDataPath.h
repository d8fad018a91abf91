#pragma once

#include "framework/CDataPathProperty.h"

// Holder of the control's AudioSamplesDataPath. The path is fetched but its
// data is not used: the spectrogram always comes from Filename.
class CAudioSamplesDataPath : public CDataPathProperty {
    Q_OBJECT
public:
    explicit CAudioSamplesDataPath(QObject* parent = nullptr);

    void ResetData() override;

    qint64 PiecesSeen() const { return m_piecesSeen; }

protected:
    void OnDataAvailable(qint64 size, bool first) override;
    void OnProgress(qint64 done, qint64 total) override;

private:
    qint64 m_piecesSeen = 0;
    qint64 m_bytesSeen = 0;
};
