#include "control/CWaveDropTarget.h"

#include <QMimeData>
#include <QUrl>
#include <optional>

#include "control/ExactFileName.h"

namespace {

// The exact name of the local file `url` names; none when it names no local
// file or its name is not text that names one file exactly. The name is taken
// from the URL's percent-encoded bytes: QUrl reads a byte that is not UTF-8
// as U+FFFD, a NUL byte as a NUL character, and "file://localhost/a" as
// "//localhost/a".
std::optional<QString> LocalFileName(const QUrl& url) {
    if (!url.isLocalFile()) return std::nullopt;
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArray encoded = url.path(QUrl::FullyEncoded).toLatin1();
    // No file name holds a '/': decoded, it would lead into another folder.
    if (encoded.contains("%2F") || encoded.contains("%2f")) return std::nullopt;
    return sonolux::ExactFileNameText(QByteArray::fromPercentEncoding(encoded));
}

// Trailing white space and case do not hide the extension; the name the file
// system is asked for keeps both.
bool HasWaveExtension(const QString& name) {
    qsizetype end = name.size();
    while (end > 0 && name.at(end - 1).isSpace()) --end;
    return QStringView(name).left(end).endsWith(QLatin1String(".wav"), Qt::CaseInsensitive);
}

}  // namespace

QString CWaveDropTarget::AcceptableWaveFile(const QMimeData& data) {
    if (!data.hasUrls()) return {};
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1) return {};
    const std::optional<QString> name = LocalFileName(urls.front());
    if (!name || !HasWaveExtension(*name)) return {};
    return *name;
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
    m_loadDroppedFile(name);
    return true;
}
