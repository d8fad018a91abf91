#include "settings/SettingsKeys.h"

#include "core/CorvaneError.h"
#include "settings/SettingsStore.h"
#include "settings/TextConversion.h"

namespace SettingsKeys {

namespace {

template <typename Key>
QString StoredText(const ISettingsStore& store, const Key& key, const QString& defaultText) {
    return store.GetSetting(QString::fromLatin1(key.section), QString::fromLatin1(key.key),
                            defaultText);
}

template <typename Key>
void Store(ISettingsStore& store, const Key& key, const QString& text) {
    store.SaveSetting(QString::fromLatin1(key.section), QString::fromLatin1(key.key), text);
}

}  // namespace

std::int32_t Read(const ISettingsStore& store, const IntegerKey& key) {
    const QString text = StoredText(store, key, TextConversion::LongText(key.defaultValue));
    try {
        const std::int32_t value =
            key.sixteenBit ? TextConversion::ToInteger(text) : TextConversion::ToLong(text);
        if (value >= key.minimum && value <= key.maximum) return value;
    } catch (const CorvaneError&) {
    }
    return key.defaultValue;
}

float Read(const ISettingsStore& store, const SingleKey& key) {
    const QString text = StoredText(store, key, TextConversion::SingleText(key.defaultValue));
    try {
        return TextConversion::ToSingle(text);
    } catch (const CorvaneError&) {
        return key.defaultValue;
    }
}

bool Read(const ISettingsStore& store, const BooleanKey& key) {
    const QString text = StoredText(store, key, TextConversion::BooleanText(key.defaultValue));
    try {
        return TextConversion::ToBoolean(text);
    } catch (const CorvaneError&) {
        return key.defaultValue;
    }
}

QString Read(const ISettingsStore& store, const TextKey& key) {
    return StoredText(store, key, QString::fromUtf8(key.defaultValue));
}

void Write(ISettingsStore& store, const IntegerKey& key, std::int32_t value) {
    Store(store, key, TextConversion::LongText(value));
}

void Write(ISettingsStore& store, const SingleKey& key, float value) {
    Store(store, key, TextConversion::SingleText(value));
}

void Write(ISettingsStore& store, const BooleanKey& key, bool value) {
    Store(store, key, TextConversion::BooleanText(value));
}

void Write(ISettingsStore& store, const TextKey& key, const QString& value) {
    Store(store, key, value);
}

double Read(const ISettingsStore& store, const DoubleKey& key) {
    const QString text = StoredText(store, key, QString::number(key.defaultValue));
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    // Written so that a NaN fails it too.
    if (ok && value >= key.minimum && value <= key.maximum) return value;
    return key.defaultValue;
}

void Write(ISettingsStore& store, const DoubleKey& key, double value) {
    Store(store, key, QString::number(value, 'g', 15));
}

}  // namespace SettingsKeys
