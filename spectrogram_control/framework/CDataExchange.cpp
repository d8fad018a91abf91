#include "framework/CDataExchange.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <algorithm>

#include "framework/PageMessageBox.h"

QString SingleToText(float value) {
    // Six digits show what users type (0.1, 119.5); more only where needed so
    // that an untouched field never changes the value it shows.
    for (int digits = 6; digits < 9; ++digits) {
        const QString text = QString::number(double(value), 'g', digits);
        if (QLocale::c().toFloat(text) == value) return text;
    }
    return QString::number(double(value), 'g', 9);
}

namespace {

// Numbers as the user types them into a field: "." as the decimal point and no
// grouping, so that "1,000" is refused rather than read as a thousand.
QLocale FieldLocale() {
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale;
}

}  // namespace

CDataExchange::CDataExchange(CDataExchangeSite& page, bool saveAndValidate)
    : m_page(page), m_saving(saveAndValidate) {}

void CDataExchange::Text(QLineEdit* field, const char* property, QString& member) {
    if (Skipped()) return;
    if (m_saving) {
        member = field->text();
        Remember(field, property, member);
        return;
    }
    const QVariant value = ReadProperty(property);
    if (value.isValid()) member = value.toString();
    field->setText(member);
}

template <typename Value, typename Parse, typename Show>
void CDataExchange::NumberField(QLineEdit* field, const char* property, Value& member, Parse parse,
                                const QString& refusal, Show show) {
    if (Skipped()) return;
    if (m_saving) {
        bool ok = false;
        const Value value = parse(FieldLocale(), field->text().trimmed(), &ok);
        if (!ok) return Fail(field, refusal);
        member = value;
        Remember(field, property, member);
        return;
    }
    const QVariant value = ReadProperty(property);
    if (value.isValid()) member = value.value<Value>();
    field->setText(show(member));
}

void CDataExchange::Integer(QLineEdit* field, const char* property, int& member) {
    NumberField(
        field, property, member,
        [](const QLocale& locale, const QString& text, bool* ok) { return locale.toInt(text, ok); },
        QStringLiteral("Please enter an integer."),
        [](int value) { return QString::number(value); });
}

void CDataExchange::Single(QLineEdit* field, const char* property, float& member) {
    NumberField(
        field, property, member,
        [](const QLocale& locale, const QString& text, bool* ok) {
            return locale.toFloat(text, ok);
        },
        QStringLiteral("Please enter a number."), SingleToText);
}

void CDataExchange::ListIndex(QComboBox* field, const char* property, int& member) {
    if (Skipped()) return;
    if (m_saving) {
        member = field->currentIndex();
        Remember(field, property, member);
        return;
    }
    const QVariant value = ReadProperty(property);
    // A stored position the list does not have shows the nearest one, and the
    // checks that follow judge what the list shows: the frame length check must
    // not blame the frame length for an FFT size of 12.
    if (value.isValid() && field->count() > 0)
        member = std::clamp(value.toInt(), 0, field->count() - 1);
    field->setCurrentIndex(member >= 0 && member < field->count() ? member : -1);
}

void CDataExchange::Range(QLineEdit* field, int value, int minimum, int maximum) {
    if (Skipped() || !m_saving) return;
    if (value >= minimum && value <= maximum) return;
    Fail(field,
         QStringLiteral("Please enter an integer between %1 and %2.").arg(minimum).arg(maximum));
}

void CDataExchange::Check(bool condition, QWidget* field, const QString& message) {
    if (Skipped() || condition) return;
    Fail(field, message);
}

void CDataExchange::PostProcessing() {
    if (Skipped() || !m_saving) return;
    for (const PendingWrite& write : m_writes) {
        if (!m_page.IsChanged(write.field)) continue;
        for (QObject* object : m_page.Objects()) object->setProperty(write.property, write.value);
    }
}

QVariant CDataExchange::ReadProperty(const char* property) const {
    const QList<QObject*> objects = m_page.Objects();
    if (objects.isEmpty()) return {};
    return objects.first()->property(property);
}

void CDataExchange::Remember(QWidget* field, const char* property, const QVariant& value) {
    m_writes.push_back({field, QByteArray(property), value});
}

void CDataExchange::Fail(QWidget* field, const QString& message) {
    m_failed = true;
    PageMessageBox().ShowExclamation(m_page.MessageOwner(), message);
    if (!field) return;
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}
