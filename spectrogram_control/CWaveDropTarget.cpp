#include "CWaveDropTarget.h"

#include <QMimeData>
#include <QUrl>

#include "CSonoluxCtrl.h"

QString CWaveDropTarget::AcceptableWaveFile(const QMimeData& data) {
    if (!data.hasUrls()) return {};
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return {};
    QString name = urls.front().toLocalFile();
    while (!name.isEmpty() && name.back().isSpace()) name.chop(1);
    // File names on Linux are case-sensitive: the extension is compared without
    // regard to case, but the name keeps its own.
    if (!name.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)) return {};
    return name;
}

int CWaveDropTarget::OnDragEnter(const QMimeData& data, const QPoint&) {
    m_accepting = !AcceptableWaveFile(data).isEmpty();
    return m_accepting ? DropEffectCopy : DropEffectNone;
}

int CWaveDropTarget::OnDragOver(const QMimeData&, const QPoint&) {
    return m_accepting ? DropEffectCopy : DropEffectNone;
}

bool CWaveDropTarget::OnDrop(const QMimeData& data, int, const QPoint&) {
    m_accepting = false;
    const QString name = AcceptableWaveFile(data);
    if (name.isEmpty()) return false;
    m_owner.SetFilename(name);
    return true;
}
