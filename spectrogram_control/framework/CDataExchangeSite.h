#pragma once

#include <QList>

class QObject;
class QWidget;

// What a data exchange needs of the page it runs for: the objects whose
// properties it reads and writes, which fields the user changed, and the
// widget its messages belong to. The page implements it; the exchange does
// not own it.
class CDataExchangeSite {
public:
    virtual ~CDataExchangeSite() = default;

    // The served objects that still exist.
    virtual QList<QObject*> Objects() const = 0;
    // True once the user has changed `field` since the last fill or apply.
    virtual bool IsChanged(QWidget* field) const = 0;
    // The owner of the exchange's message boxes.
    virtual QWidget* MessageOwner() = 0;
};
