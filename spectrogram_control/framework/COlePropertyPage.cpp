#include "framework/COlePropertyPage.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

COlePropertyPage::COlePropertyPage(const QString& caption, QSize templateSize, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_templateSize(templateSize) {
    setWindowTitle(caption);
}

void COlePropertyPage::SetObjects(const QList<QObject*>& objects) {
    m_objects.clear();
    for (QObject* object : objects) m_objects.append(object);
    UpdateData(false);
}

QList<QObject*> COlePropertyPage::Objects() const {
    QList<QObject*> alive;
    for (const QPointer<QObject>& object : m_objects)
        if (object) alive.append(object.data());
    return alive;
}

bool COlePropertyPage::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(*this, saveAndValidate);
    // Showing values that came from the objects is not a change by the user.
    m_filling = !saveAndValidate;
    DoDataExchange(exchange);
    m_filling = false;
    if (!saveAndValidate) m_changed.clear();
    if (exchange.Failed()) return false;
    m_changed.clear();
    return true;
}

bool COlePropertyPage::Apply() {
    return UpdateData(true);
}

QSize COlePropertyPage::sizeHint() const {
    // Fields that outgrew the template still fit on the page.
    const QRect fields = childrenRect();
    return ToPixels(QRect(QPoint(0, 0), m_templateSize))
        .size()
        .expandedTo(QSize(fields.right() + 1, fields.bottom() + 1));
}

void COlePropertyPage::Place(QWidget* child, const QRect& dialogUnits) {
    QRect pixels = ToPixels(dialogUnits);
    // A drop-down list's template height includes its open list.
    if (qobject_cast<QComboBox*>(child)) pixels.setHeight(child->sizeHint().height());
    pixels.setHeight(qMax(pixels.height(), child->minimumSizeHint().height()));
    // The template was drawn for another font: a caption or a list item that
    // needs more room than it gives grows to the right rather than being cut.
    if (qobject_cast<QLabel*>(child) || qobject_cast<QComboBox*>(child))
        pixels.setWidth(qMax(pixels.width(), child->sizeHint().width()));
    child->setGeometry(pixels);
}

void COlePropertyPage::AddLabel(const QString& text, const QRect& dialogUnits) {
    auto* label = new QLabel(text, this);
    Place(label, dialogUnits);
}

QLineEdit* COlePropertyPage::AddEdit(const QRect& dialogUnits) {
    auto* edit = new QLineEdit(this);
    Place(edit, dialogUnits);
    connect(edit, &QLineEdit::textChanged, this, [this, edit] { MarkChanged(edit); });
    return edit;
}

QComboBox* COlePropertyPage::AddList(const QStringList& items, const QRect& dialogUnits) {
    auto* list = new QComboBox(this);
    list->setEditable(false);
    list->addItems(items);
    Place(list, dialogUnits);
    connect(list, &QComboBox::currentIndexChanged, this, [this, list] { MarkChanged(list); });
    return list;
}

QRect COlePropertyPage::ToPixels(const QRect& dialogUnits) const {
    // A horizontal dialog unit is a quarter of the font's average width of the
    // 52 letters, rounded as dialog templates round it; a vertical one an eighth
    // of the character height. The font's own average character width counts
    // every glyph it has and comes out too narrow for text.
    const QFontMetrics metrics(font());
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int charWidth = (letters / 26 + 1) / 2;
    const int charHeight = metrics.height();
    return QRect(dialogUnits.x() * charWidth / 4, dialogUnits.y() * charHeight / 8,
                 dialogUnits.width() * charWidth / 4, dialogUnits.height() * charHeight / 8);
}

void COlePropertyPage::MarkChanged(QWidget* field) {
    if (m_filling) return;
    m_changed.insert(field);
    emit Modified();
}
