#include "DispatchTable.h"

#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <cmath>
#include <limits>

namespace {

// Converts `value` to the property's declared type, refusing what does not
// fit rather than silently wrapping it.
bool ConvertForProperty(const QMetaProperty& property, QVariant& value) {
    const QMetaType target = property.metaType();
    if (target.id() == QMetaType::Short) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || std::isnan(number)) return false;
        const double rounded = std::nearbyint(number);
        if (rounded < std::numeric_limits<short>::min() ||
            rounded > std::numeric_limits<short>::max())
            return false;
        value = QVariant::fromValue(static_cast<short>(rounded));
        return true;
    }
    if (target.id() == QMetaType::Int) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || std::isnan(number)) return false;
        const double rounded = std::nearbyint(number);
        if (rounded < std::numeric_limits<int>::min() || rounded > std::numeric_limits<int>::max())
            return false;
        value = QVariant::fromValue(static_cast<int>(rounded));
        return true;
    }
    return value.convert(target);
}

}  // namespace

DispatchTable::DispatchTable(std::vector<DispatchMember> members) : m_members(std::move(members)) {}

const DispatchMember* DispatchTable::Find(int dispid) const {
    for (const DispatchMember& member : m_members) {
        if (member.dispid == dispid) return &member;
    }
    return nullptr;
}

const DispatchMember* DispatchTable::Find(const QString& name) const {
    for (const DispatchMember& member : m_members) {
        if (name.compare(QLatin1String(member.name), Qt::CaseInsensitive) == 0) return &member;
    }
    return nullptr;
}

bool DispatchTable::GetProperty(QObject& object, int dispid, QVariant& value) const {
    const DispatchMember* member = Find(dispid);
    if (!member || member->kind != DispatchMember::Kind::Property) return false;
    value = object.property(member->name);
    return value.isValid();
}

bool DispatchTable::SetProperty(QObject& object, int dispid, const QVariant& value) const {
    const DispatchMember* member = Find(dispid);
    if (!member || member->kind != DispatchMember::Kind::Property) return false;
    const QMetaObject* meta = object.metaObject();
    const int index = meta->indexOfProperty(member->name);
    if (index < 0) return false;
    const QMetaProperty property = meta->property(index);
    QVariant converted = value;
    if (!ConvertForProperty(property, converted)) return false;
    return property.write(&object, converted);
}

bool DispatchTable::Invoke(QObject& object, int dispid) const {
    const DispatchMember* member = Find(dispid);
    if (!member || member->kind != DispatchMember::Kind::Method) return false;
    return QMetaObject::invokeMethod(&object, member->name, Qt::DirectConnection);
}
