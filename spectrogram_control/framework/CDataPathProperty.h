#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "sonolux/SonoluxModule.h"

namespace sonolux {
class RegularFile;
}

// A property that names data to be fetched asynchronously. Load records the
// path and starts reading the file in pieces on the GUI thread's event loop;
// each piece is announced through OnDataAvailable. The holder decides what
// to do with the data. Only a regular file is read, and only the bytes it held
// when the read started: a named pipe or a device is refused without blocking.
class CDataPathProperty : public QObject {
    Q_OBJECT
public:
    explicit CDataPathProperty(QObject* parent = nullptr);
    ~CDataPathProperty() override;

    QString GetPath() const { return m_path; }
    // Records `path` and starts an asynchronous read of it; an earlier read
    // that is still running is abandoned. Nothing is read when `path` does not
    // name a regular file.
    void Load(const QString& path);
    // Abandons a running read; the path stays.
    virtual void ResetData();

protected:
    // `first` is true for the first piece of a binding.
    virtual void OnDataAvailable(qint64 size, bool first);
    virtual void OnProgress(qint64 done, qint64 total);

private:
    void ReadNextPiece(quint64 binding);

    QString m_path;
    std::unique_ptr<sonolux::RegularFile> m_file;
    qint64 m_offset = 0;  // bytes of m_file read so far
    quint64 m_binding = 0;
    bool m_firstPiece = true;
};
