#include "sonolux/ComponentRegistry.h"

#include <QFile>
#include <QStandardPaths>
#include <algorithm>

#include "registry/RegistryText.h"

namespace sonolux {
namespace {

QString ClassSectionName(const QUuid& classId) {
    return QStringLiteral("CLSID\\") + classId.toString(QUuid::WithBraces);
}

QString TypeLibSectionName(const QUuid& id, int majorVersion, int minorVersion) {
    return QStringLiteral("TypeLib\\%1\\%2.%3")
        .arg(id.toString(QUuid::WithBraces))
        .arg(majorVersion)
        .arg(minorVersion);
}

QString Flag(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

ClassEntry ReadClass(const QUuid& classId, const ComponentRegistry::Section& section) {
    ClassEntry entry;
    entry.classId = classId;
    entry.progId = section.Value(QStringLiteral("ProgID"));
    entry.name = section.Value(QStringLiteral("Name"));
    entry.modulePath = section.Value(QStringLiteral("Module"));
    entry.threadingModel = section.Value(QStringLiteral("ThreadingModel"));
    entry.miscStatus = section.Value(QStringLiteral("MiscStatus")).toUInt(nullptr, 0);
    entry.typeLibId = QUuid::fromString(section.Value(QStringLiteral("TypeLib")));
    entry.typeLibVersion = section.Value(QStringLiteral("Version"));
    entry.control = section.Value(QStringLiteral("Control")) == QLatin1String("1");
    entry.insertable = section.Value(QStringLiteral("Insertable")) == QLatin1String("1");
    entry.toolboxBitmap = section.Value(QStringLiteral("ToolboxBitmap")).toInt();
    return entry;
}

}  // namespace

QString ComponentRegistry::Section::Value(const QString& key) const {
    for (const auto& [name, value] : values)
        if (name == key) return value;
    return {};
}

QString ComponentRegistry::DefaultPath() {
    const QString overridden = qEnvironmentVariable("SONOLUX_COMPONENT_REGISTRY");
    if (!overridden.isEmpty()) return overridden;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Sonolux/component-registry.ini");
}

ComponentRegistry::ComponentRegistry(const QString& path) : m_path(path) {}

bool ComponentRegistry::Load() {
    m_sections.clear();
    QFile file(m_path);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Cannot read %1: %2").arg(m_path, file.errorString());
        return false;
    }
    QString error;
    auto sections = ParseRegistryText(file.readAll(), error);
    if (!sections) {
        m_error = QStringLiteral("%1 is no component registry (%2).").arg(m_path, error);
        return false;
    }
    m_sections = std::move(*sections);
    return true;
}

bool ComponentRegistry::Save() {
    return WriteFileSafely(m_path, FormatRegistryText(m_sections), m_error);
}

std::optional<ClassEntry> ComponentRegistry::FindClass(const QUuid& classId) const {
    const Section* section = FindSection(ClassSectionName(classId));
    if (!section) return std::nullopt;
    return ReadClass(classId, *section);
}

std::optional<ClassEntry> ComponentRegistry::FindProgId(const QString& progId) const {
    const QString prefix = QStringLiteral("CLSID\\");
    for (const Section& section : m_sections) {
        if (!section.name.startsWith(prefix)) continue;
        if (section.Value(QStringLiteral("ProgID")).compare(progId, Qt::CaseInsensitive) != 0)
            continue;
        const QUuid classId = QUuid::fromString(section.name.mid(prefix.size()));
        if (!classId.isNull()) return ReadClass(classId, section);
    }
    return std::nullopt;
}

std::optional<TypeLibEntry> ComponentRegistry::FindTypeLib(const QUuid& id, int majorVersion,
                                                           int minorVersion) const {
    const Section* section = FindSection(TypeLibSectionName(id, majorVersion, minorVersion));
    if (!section) return std::nullopt;
    TypeLibEntry entry;
    entry.id = id;
    entry.majorVersion = majorVersion;
    entry.minorVersion = minorVersion;
    entry.name = section->Value(QStringLiteral("Name"));
    entry.helpString = section->Value(QStringLiteral("HelpString"));
    entry.locale = section->Value(QStringLiteral("Locale")).toInt(nullptr, 0);
    entry.modulePath = section->Value(QStringLiteral("Module"));
    entry.helpDirectory = section->Value(QStringLiteral("HelpDir"));
    entry.describesControls = section->Value(QStringLiteral("Control")) == QLatin1String("1");
    return entry;
}

void ComponentRegistry::SetClass(const ClassEntry& entry) {
    Section section{ClassSectionName(entry.classId), {}};
    section.values = {{QStringLiteral("ProgID"), entry.progId},
                      {QStringLiteral("Name"), entry.name},
                      {QStringLiteral("Module"), entry.modulePath},
                      {QStringLiteral("ThreadingModel"), entry.threadingModel},
                      {QStringLiteral("MiscStatus"),
                       QStringLiteral("0x") + QString::number(entry.miscStatus, 16).toUpper()}};
    if (entry.control) {
        section.values.append({QStringLiteral("Control"), Flag(true)});
        section.values.append({QStringLiteral("Insertable"), Flag(entry.insertable)});
        section.values.append(
            {QStringLiteral("ToolboxBitmap"), QString::number(entry.toolboxBitmap)});
    }
    if (!entry.typeLibId.isNull()) {
        section.values.append({QStringLiteral("TypeLib"), entry.typeLibId.toString()});
        section.values.append({QStringLiteral("Version"), entry.typeLibVersion});
    }
    ReplaceSection(std::move(section));
}

bool ComponentRegistry::RemoveClass(const QUuid& classId) {
    return RemoveSection(ClassSectionName(classId));
}

void ComponentRegistry::SetTypeLib(const TypeLibEntry& entry) {
    Section section{TypeLibSectionName(entry.id, entry.majorVersion, entry.minorVersion), {}};
    section.values = {{QStringLiteral("Name"), entry.name},
                      {QStringLiteral("HelpString"), entry.helpString},
                      {QStringLiteral("Locale"),
                       QStringLiteral("0x%1").arg(entry.locale, 4, 16, QLatin1Char('0'))},
                      {QStringLiteral("Module"), entry.modulePath},
                      {QStringLiteral("HelpDir"), entry.helpDirectory},
                      {QStringLiteral("Control"), Flag(entry.describesControls)}};
    ReplaceSection(std::move(section));
}

bool ComponentRegistry::RemoveTypeLib(const QUuid& id, int majorVersion, int minorVersion) {
    return RemoveSection(TypeLibSectionName(id, majorVersion, minorVersion));
}

const ComponentRegistry::Section* ComponentRegistry::FindSection(const QString& name) const {
    for (const Section& section : m_sections)
        if (section.name == name) return &section;
    return nullptr;
}

void ComponentRegistry::ReplaceSection(Section section) {
    for (Section& existing : m_sections) {
        if (existing.name != section.name) continue;
        existing = std::move(section);
        return;
    }
    m_sections.push_back(std::move(section));
}

bool ComponentRegistry::RemoveSection(const QString& name) {
    const auto it = std::find_if(m_sections.begin(), m_sections.end(),
                                 [&name](const Section& section) { return section.name == name; });
    if (it == m_sections.end()) return false;
    m_sections.erase(it);
    return true;
}

}  // namespace sonolux
