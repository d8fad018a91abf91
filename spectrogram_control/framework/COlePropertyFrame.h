#pragma once

#include <QDialog>
#include <QList>
#include <QUuid>


class COlePropertyPage;
class QPushButton;
class QTabWidget;

// The property frame: a dialog that shows property pages, in the given order,
// for one or several objects, with OK, Cancel and Apply. Pages are created
// through the class objects of `pageClassIds` and owned by the frame; the
// objects are not. OK applies every changed page and closes the frame unless
// a page refuses an entry; Apply does the same without closing.
class COlePropertyFrame : public QDialog {
    Q_OBJECT
public:
    COlePropertyFrame(const QList<QObject*>& objects, const QList<QUuid>& pageClassIds,
                      const QString& caption, QWidget* parent = nullptr);

    const QList<COlePropertyPage*>& Pages() const { return m_pages; }
    // Applies the changed pages in order; stops at, and shows, a page that
    // refuses an entry.
    bool Apply();

    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* ApplyButton() const { return m_apply; }

private:
    void CreatePages(const QList<QObject*>& objects, const QList<QUuid>& pageClassIds);
    void CreateButtons();
    void UpdateApplyButton();

    QTabWidget* m_tabs;
    QList<COlePropertyPage*> m_pages;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_apply = nullptr;
};

// Creates a property page through the class object of `pageClassId`; null
// when the module has no such class or the class is no property page.
COlePropertyPage* CreatePropertyPage(const QUuid& pageClassId, QWidget* parent);
