#include "pages/CSonoluxPropPage.h"

#include <QLineEdit>

CSonoluxPropPage::CSonoluxPropPage(QWidget* parent)
    : COlePropertyPage(QStringLiteral("General"), QSize(250, 62), parent) {
    AddLabel(QStringLiteral("Audio Samples Data Path:"), QRect(15, 17, 84, 8));
    m_dataPathEdit = AddEdit(QRect(15, 25, 195, 14));
    m_dataPathEdit->setObjectName(QStringLiteral("txtDataPath"));
}

void CSonoluxPropPage::DoDataExchange(CDataExchange& exchange) {
    exchange.Text(m_dataPathEdit, "AudioSamplesDataPath", m_dataPath);
    exchange.PostProcessing();
}
