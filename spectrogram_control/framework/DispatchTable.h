#pragma once

#include <QVariant>
#include <vector>


class QObject;

// One member of a dispatch interface: a property or a method, reached by its
// dispatch identifier; `name` is the Qt property or invokable method it stands for.
struct DispatchMember {
    enum class Kind { Property, Method };
    int dispid;
    const char* name;
    Kind kind;
};

// The dispatch table of a control class: maps identifiers to the control's
// Qt properties and invokable methods of the same names. Written values are
// converted to the property's declared type as a write by name converts them,
// except that a value that does not fit the type is refused, not wrapped.
class DispatchTable {
public:
    explicit DispatchTable(std::vector<DispatchMember> members);

    const DispatchMember* Find(int dispid) const;

    // Each returns false when the identifier is unknown, of the wrong kind,
    // or the value cannot be converted to the property's type.
    bool GetProperty(QObject& object, int dispid, QVariant& value) const;
    bool SetProperty(QObject& object, int dispid, const QVariant& value) const;
    bool Invoke(QObject& object, int dispid) const;

private:
    std::vector<DispatchMember> m_members;
};
