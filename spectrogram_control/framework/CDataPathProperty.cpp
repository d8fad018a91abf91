#include "framework/CDataPathProperty.h"

#include <QByteArray>
#include <QFile>
#include <QMetaObject>
#include <algorithm>

#include "engine/RegularFile.h"

namespace {
constexpr qint64 PieceSize = 64 * 1024;
}

CDataPathProperty::CDataPathProperty(QObject* parent) : QObject(parent) {}

CDataPathProperty::~CDataPathProperty() = default;

void CDataPathProperty::Load(const QString& path) {
    ResetData();
    m_path = path;
    if (path.isEmpty()) return;
    m_file = std::make_unique<sonolux::RegularFile>();
    if (!m_file->Open(QFile::encodeName(path).toStdString())) {
        m_file.reset();
        return;
    }
    m_offset = 0;
    m_firstPiece = true;
    const quint64 binding = ++m_binding;
    QMetaObject::invokeMethod(
        this, [this, binding] { ReadNextPiece(binding); }, Qt::QueuedConnection);
}

void CDataPathProperty::ResetData() {
    ++m_binding;
    m_file.reset();
}

void CDataPathProperty::OnDataAvailable(qint64, bool) {}

void CDataPathProperty::OnProgress(qint64, qint64) {}

void CDataPathProperty::ReadNextPiece(quint64 binding) {
    if (binding != m_binding || !m_file) return;
    const auto size = static_cast<qint64>(m_file->Size());
    QByteArray piece(std::min(PieceSize, size - m_offset), Qt::Uninitialized);
    const auto read =
        static_cast<qint64>(m_file->ReadAt(static_cast<std::uint64_t>(m_offset), piece.data(),
                                           static_cast<std::size_t>(piece.size())));
    if (read <= 0) {
        m_file.reset();
        return;
    }
    m_offset += read;
    OnDataAvailable(read, m_firstPiece);
    m_firstPiece = false;
    OnProgress(m_offset, size);
    QMetaObject::invokeMethod(
        this, [this, binding] { ReadNextPiece(binding); }, Qt::QueuedConnection);
}
