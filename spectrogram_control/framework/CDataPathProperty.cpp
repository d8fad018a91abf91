#include "CDataPathProperty.h"

#include <QMetaObject>

namespace {
constexpr qint64 PieceSize = 64 * 1024;
}

CDataPathProperty::CDataPathProperty(QObject* parent) : QObject(parent) {}

CDataPathProperty::~CDataPathProperty() = default;

void CDataPathProperty::Load(const QString& path) {
    ResetData();
    m_path = path;
    if (path.isEmpty()) return;
    m_file = std::make_unique<QFile>(path);
    if (!m_file->open(QIODevice::ReadOnly)) {
        m_file.reset();
        return;
    }
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
    const QByteArray piece = m_file->read(PieceSize);
    if (piece.isEmpty()) {
        m_file.reset();
        return;
    }
    OnDataAvailable(piece.size(), m_firstPiece);
    m_firstPiece = false;
    OnProgress(m_file->pos(), m_file->size());
    QMetaObject::invokeMethod(
        this, [this, binding] { ReadNextPiece(binding); }, Qt::QueuedConnection);
}
