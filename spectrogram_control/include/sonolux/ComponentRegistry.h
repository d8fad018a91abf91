#pragma once

// The per-user component registry: a text file that maps class identifiers
// and ProgIDs to the module that serves them, written by a module's
// DllRegisterServer and DllUnregisterServer and read by hosts that create
// controls by class. No root is needed.
//
// Where it lives: the file named by the environment variable
// SONOLUX_COMPONENT_REGISTRY when that is set, else
// "Sonolux/component-registry.ini" in the user's configuration folder
// ($XDG_CONFIG_HOME, usually ~/.config).
//
// A host looks a class up like this:
//   sonolux::ComponentRegistry registry;
//   if (registry.Load())
//       if (auto entry = registry.FindClass(sonolux::CLSID_Sonolux)) use(entry->modulePath);

#include <QList>
#include <QPair>
#include <QString>
#include <QUuid>
#include <cstdint>
#include <optional>
#include <vector>

namespace sonolux {

// What the registry holds for one class.
struct ClassEntry {
    QUuid classId;
    QString progId;
    QString name;            // the registered (user-visible) name
    QString modulePath;      // absolute path of the module file
    QString threadingModel;  // "Apartment"
    std::uint32_t miscStatus = 0;
    // Controls only: the type library that describes the class (null: none).
    QUuid typeLibId;
    QString typeLibVersion;  // "1.0"
    bool control = false;
    bool insertable = false;
    int toolboxBitmap = 0;  // resource number in the module; 0: none
};

// What the registry holds for one type library version.
struct TypeLibEntry {
    QUuid id;
    int majorVersion = 0;
    int minorVersion = 0;
    QString name;
    QString helpString;
    int locale = 0;
    QString modulePath;
    QString helpDirectory;
    bool describesControls = false;
};

class ComponentRegistry {
public:
    static QString DefaultPath();

    explicit ComponentRegistry(const QString& path = DefaultPath());

    QString Path() const { return m_path; }
    QString ErrorText() const { return m_error; }

    // Reads the file; a missing file is an empty registry. False (with
    // ErrorText) when the file cannot be read or is no registry file.
    bool Load();
    // Writes the whole registry: into a temporary file beside it, every write
    // checked and synced, then renamed over the old file, so that a failure
    // leaves the old file as it was. False (with ErrorText) on failure.
    bool Save();

    std::optional<ClassEntry> FindClass(const QUuid& classId) const;
    // ProgIDs compare without regard to case.
    std::optional<ClassEntry> FindProgId(const QString& progId) const;
    std::optional<TypeLibEntry> FindTypeLib(const QUuid& id, int majorVersion,
                                            int minorVersion) const;

    // Replaces the class's entry, or adds it.
    void SetClass(const ClassEntry& entry);
    // False when there was no entry.
    bool RemoveClass(const QUuid& classId);
    void SetTypeLib(const TypeLibEntry& entry);
    bool RemoveTypeLib(const QUuid& id, int majorVersion, int minorVersion);

    // Every section as it is stored: name, then its key/value pairs in order.
    struct Section {
        QString name;
        QList<QPair<QString, QString>> values;
        QString Value(const QString& key) const;
    };
    const std::vector<Section>& Sections() const { return m_sections; }

private:
    const Section* FindSection(const QString& name) const;
    void ReplaceSection(Section section);
    bool RemoveSection(const QString& name);

    QString m_path;
    QString m_error;
    std::vector<Section> m_sections;
};

}  // namespace sonolux
