#include "framework/DispatchTable.h"

#include <QMetaObject>
#include <QMetaProperty>
#include <QObject>
#include <cmath>
#include <limits>

namespace {

// Whether a whole-number property of `type` can hold `value` once rounded as
// Qt rounds it (halves away from zero). Values that are no number pass: the
// conversion itself decides about them.
bool FitsWholeNumberType(const QMetaType& type, const QVariant& value) {
    double minimum = 0;
    double maximum = 0;
    if (type.id() == QMetaType::Short) {
        minimum = std::numeric_limits<short>::min();
        maximum = std::numeric_limits<short>::max();
    } else if (type.id() == QMetaType::Int) {
        minimum = std::numeric_limits<int>::min();
        maximum = std::numeric_limits<int>::max();
    } else {
        return true;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) return true;
    const double rounded = std::round(number);
    return rounded >= minimum && rounded <= maximum;  // false for NaN too
}

// Converts `value` to the property's declared type with Qt's own conversion,
// the one a write by name goes through, but refuses what that conversion
// would silently wrap (70000 for a 16-bit property).
bool ConvertForProperty(const QMetaProperty& property, QVariant& value) {
    const QMetaType target = property.metaType();
    if (!FitsWholeNumberType(target, value)) return false;
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
