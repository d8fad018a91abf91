#include "framework/COleObjectFactory.h"

#include <QWidget>

std::atomic<long> COleControlModule::s_objects{0};
std::atomic<long> COleControlModule::s_locks{0};

namespace {
COleObjectFactory* g_firstFactory = nullptr;
}

COleObjectFactory::COleObjectFactory(const QUuid& classId, Creator creator)
    : m_classId(classId), m_creator(std::move(creator)), m_next(g_firstFactory) {
    g_firstFactory = this;
}

std::uint32_t COleObjectFactory::AddRef() {
    COleControlModule::Lock();
    return ++m_references;
}

std::uint32_t COleObjectFactory::Release() {
    if (m_references == 0) return 0;
    COleControlModule::Unlock();
    return --m_references;
}

sonolux::HRESULT COleObjectFactory::CreateInstance(QWidget* parent, QWidget** object) {
    if (!object) return sonolux::E_POINTER;
    *object = nullptr;
    QWidget* instance = m_creator(parent);
    if (!instance) return sonolux::E_FAIL;
    COleControlModule::AddObject();
    QObject::connect(instance, &QObject::destroyed, [] { COleControlModule::RemoveObject(); });
    *object = instance;
    return sonolux::S_OK;
}

sonolux::HRESULT COleObjectFactory::LockServer(bool lock) {
    if (lock) {
        COleControlModule::Lock();
    } else {
        COleControlModule::Unlock();
    }
    return sonolux::S_OK;
}

sonolux::HRESULT COleObjectFactory::GetClassObject(const QUuid* classId, const QUuid* interfaceId,
                                                   void** object) {
    if (!object) return sonolux::E_POINTER;
    *object = nullptr;
    if (!classId || !interfaceId) return sonolux::E_POINTER;
    for (COleObjectFactory* factory = g_firstFactory; factory; factory = factory->m_next) {
        if (factory->m_classId != *classId) continue;
        if (*interfaceId != sonolux::IID_IClassFactory && *interfaceId != sonolux::IID_IUnknown)
            return sonolux::E_NOINTERFACE;
        factory->AddRef();
        *object = static_cast<sonolux::IClassFactory*>(factory);
        return sonolux::S_OK;
    }
    return sonolux::CLASS_E_CLASSNOTAVAILABLE;
}
