#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <vector>

#include "framework/CDataExchangeSite.h"

class QComboBox;
class QLineEdit;
class QWidget;

// One run of a property page's data exchange, in one of two directions.
// Filling reads each bound property from the first object the page serves
// into its member and shows the member in its field. Saving reads each field
// into its member, validates it, and (in PostProcessing) writes the members
// of the fields the user changed to every object the page serves.
// The first failure shows its message, moves the focus to the failing field
// and turns every later step into a no-op, so nothing is written.
class CDataExchange {
public:
    CDataExchange(CDataExchangeSite& page, bool saveAndValidate);

    bool Failed() const { return m_failed; }

    void Text(QLineEdit* field, const char* property, QString& member);
    void Integer(QLineEdit* field, const char* property, int& member);
    void Single(QLineEdit* field, const char* property, float& member);
    // The member is the field's selected position (-1: none). A stored value
    // outside the list shows, and fills the member with, the nearest position.
    void ListIndex(QComboBox* field, const char* property, int& member);

    // When saving: refuses a value outside minimum..maximum.
    void Range(QLineEdit* field, int value, int minimum, int maximum);
    // In both directions: unless `condition` holds, shows `message` and fails.
    void Check(bool condition, QWidget* field, const QString& message);

    // When saving and nothing failed: writes the pending properties.
    void PostProcessing();

private:
    struct PendingWrite {
        QWidget* field;
        QByteArray property;
        QVariant value;
    };

    bool Skipped() const { return m_failed; }
    // A text field holding a number: `parse` reads it as QLocale's toInt and
    // toFloat do, a field it refuses fails with `refusal`, and `show` writes
    // the member back into the field.
    template <typename Value, typename Parse, typename Show>
    void NumberField(QLineEdit* field, const char* property, Value& member, Parse parse,
                     const QString& refusal, Show show);
    QVariant ReadProperty(const char* property) const;
    void Remember(QWidget* field, const char* property, const QVariant& value);
    void Fail(QWidget* field, const QString& message);

    CDataExchangeSite& m_page;
    bool m_saving;
    bool m_failed = false;
    std::vector<PendingWrite> m_writes;
};

// The shortest text that reads back as exactly `value`.
QString SingleToText(float value);
