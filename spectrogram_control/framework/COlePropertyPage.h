#pragma once

#include <QList>
#include <QPointer>
#include <QSet>
#include <QSize>
#include <QString>
#include <QWidget>

#include "framework/CDataExchange.h"
#include "framework/CDataExchangeSite.h"

class QComboBox;
class QLineEdit;

// A property page: fields laid out from a dialog template (in dialog units)
// and one data exchange between those fields and the properties, by name, of
// the objects the page serves, so that one page can edit several controls at
// once. The page does not own those objects. GUI thread only.
class COlePropertyPage : public QWidget, public CDataExchangeSite {
    Q_OBJECT
public:
    // `templateSize`: the page's size in dialog units.
    COlePropertyPage(const QString& caption, QSize templateSize, QWidget* parent = nullptr);

    QString Caption() const { return m_caption; }

    // Serves `objects` from now on and fills the page from them.
    void SetObjects(const QList<QObject*>& objects);
    // The served objects that still exist.
    QList<QObject*> Objects() const override;

    // Fills the page (false) or checks the entries and writes them (true).
    // False when an entry was refused; nothing is written then.
    bool UpdateData(bool saveAndValidate);
    // Writes the user's changes; the page then counts as unchanged again.
    bool Apply();

    // True once the user has changed a field since the last fill or apply.
    bool IsModified() const { return !m_changed.isEmpty(); }
    bool IsChanged(QWidget* field) const override { return m_changed.contains(field); }
    QWidget* MessageOwner() override { return this; }

    QSize sizeHint() const override;

signals:
    void Modified();

protected:
    virtual void DoDataExchange(CDataExchange& exchange) = 0;

    // Places `child` at `dialogUnits` (x, y, width, height) of the template.
    void Place(QWidget* child, const QRect& dialogUnits);
    void AddLabel(const QString& text, const QRect& dialogUnits);
    QLineEdit* AddEdit(const QRect& dialogUnits);
    QComboBox* AddList(const QStringList& items, const QRect& dialogUnits);

private:
    QRect ToPixels(const QRect& dialogUnits) const;
    void MarkChanged(QWidget* field);

    QString m_caption;
    QSize m_templateSize;
    QList<QPointer<QObject>> m_objects;
    QSet<QWidget*> m_changed;
    bool m_filling = false;
};
