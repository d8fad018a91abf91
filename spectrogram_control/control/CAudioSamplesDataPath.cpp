#include "control/CAudioSamplesDataPath.h"

CAudioSamplesDataPath::CAudioSamplesDataPath(QObject* parent) : CDataPathProperty(parent) {}

void CAudioSamplesDataPath::ResetData() {
    m_bytesSeen = 0;
    CDataPathProperty::ResetData();
}

void CAudioSamplesDataPath::OnDataAvailable(qint64 size, bool first) {
    if (first) {
        m_piecesSeen = 0;
        m_bytesSeen = 0;
    }
    ++m_piecesSeen;
    m_bytesSeen += size;
}

void CAudioSamplesDataPath::OnProgress(qint64, qint64) {}
