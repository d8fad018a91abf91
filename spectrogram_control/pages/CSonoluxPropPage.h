#pragma once

#include <QString>

#include "framework/COlePropertyPage.h"

class QLineEdit;

// The general page ("General"): the control's AudioSamplesDataPath.
class CSonoluxPropPage : public COlePropertyPage {
    Q_OBJECT
public:
    explicit CSonoluxPropPage(QWidget* parent = nullptr);

    QLineEdit* DataPathEdit() const { return m_dataPathEdit; }

protected:
    void DoDataExchange(CDataExchange& exchange) override;

private:
    QString m_dataPath;
    QLineEdit* m_dataPathEdit;
};
