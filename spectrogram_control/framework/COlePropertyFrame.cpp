#include "framework/COlePropertyFrame.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "framework/COleObjectFactory.h"
#include "framework/COlePropertyPage.h"

COlePropertyPage* CreatePropertyPage(const QUuid& pageClassId, QWidget* parent) {
    void* object = nullptr;
    if (COleObjectFactory::GetClassObject(&pageClassId, &sonolux::IID_IClassFactory, &object) !=
        sonolux::S_OK)
        return nullptr;
    auto* factory = static_cast<sonolux::IClassFactory*>(object);
    QWidget* instance = nullptr;
    factory->CreateInstance(parent, &instance);
    factory->Release();
    auto* page = qobject_cast<COlePropertyPage*>(instance);
    if (!page) delete instance;
    return page;
}

COlePropertyFrame::COlePropertyFrame(const QList<QObject*>& objects,
                                     const QList<QUuid>& pageClassIds, const QString& caption,
                                     QWidget* parent)
    : QDialog(parent), m_tabs(new QTabWidget(this)) {
    setWindowTitle(caption);
    CreatePages(objects, pageClassIds);
    CreateButtons();
    UpdateApplyButton();
}

bool COlePropertyFrame::Apply() {
    for (COlePropertyPage* page : m_pages) {
        if (!page->IsModified()) continue;
        if (!page->Apply()) {
            m_tabs->setCurrentWidget(page);
            UpdateApplyButton();
            return false;
        }
    }
    UpdateApplyButton();
    return true;
}

void COlePropertyFrame::CreatePages(const QList<QObject*>& objects,
                                    const QList<QUuid>& pageClassIds) {
    for (const QUuid& classId : pageClassIds) {
        COlePropertyPage* page = CreatePropertyPage(classId, m_tabs);
        if (!page) continue;
        m_pages.append(page);
        m_tabs->addTab(page, page->Caption());
        connect(page, &COlePropertyPage::Modified, this, &COlePropertyFrame::UpdateApplyButton);
    }
    // Filled only once every page exists, so that a page refusing the
    // objects' values shows its message over the whole frame.
    for (COlePropertyPage* page : m_pages) page->SetObjects(objects);
}

void COlePropertyFrame::CreateButtons() {
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_apply = buttons->addButton(QDialogButtonBox::Apply);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        if (Apply()) accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_apply, &QPushButton::clicked, this, [this] { Apply(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void COlePropertyFrame::UpdateApplyButton() {
    if (!m_apply) return;
    bool modified = false;
    for (COlePropertyPage* page : m_pages) modified = modified || page->IsModified();
    m_apply->setEnabled(modified);
}
