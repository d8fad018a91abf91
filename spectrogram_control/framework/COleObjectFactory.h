#pragma once

#include <QUuid>
#include <atomic>
#include <functional>

#include "sonolux/SonoluxModule.h"

// The module's object and lock counts: the module may be unloaded only while
// no object it created is alive and no host holds a lock on it.
class COleControlModule {
public:
    static void AddObject() { ++s_objects; }
    static void RemoveObject() { --s_objects; }
    static void Lock() { ++s_locks; }
    static void Unlock() { --s_locks; }
    static bool CanUnloadNow() { return s_objects == 0 && s_locks == 0; }
    static long ObjectCount() { return s_objects; }

private:
    static std::atomic<long> s_objects;
    static std::atomic<long> s_locks;
};

// A class object: creates instances of one class by its class identifier.
// Class objects are static; their references count as module locks so that a
// host holding one keeps the module loaded.
class COleObjectFactory : public sonolux::IClassFactory {
public:
    using Creator = std::function<QWidget*(QWidget* parent)>;

    COleObjectFactory(const QUuid& classId, Creator creator);
    virtual ~COleObjectFactory() = default;

    std::uint32_t AddRef() override;
    std::uint32_t Release() override;
    sonolux::HRESULT CreateInstance(QWidget* parent, QWidget** object) override;
    sonolux::HRESULT LockServer(bool lock) override;

    // DllGetClassObject's work: hands out the class object of `classId` with
    // one reference added.
    static sonolux::HRESULT GetClassObject(const QUuid* classId, const QUuid* interfaceId,
                                           void** object);

private:
    QUuid m_classId;
    Creator m_creator;
    std::atomic<std::uint32_t> m_references{0};
    COleObjectFactory* m_next;  // the module's list of class objects
};
