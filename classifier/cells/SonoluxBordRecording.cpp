// The recording a cell shows: passed to its control, followed after a move,
// and the marks that say what became of it.
#include "cells/SonoluxBord.h"

#include <QMetaObject>
#include <QVariant>

#include "cells/CellMarks.h"
#include "files/FileSystem.h"

QString SonoluxBord::Filename() const {
    return m_properties.Read(ControlProperties::Filename).toString();
}

void SonoluxBord::SetFilename(const QString& aFilename) {
    m_loadedPath = aFilename;
    PassFilename(aFilename);
}

void SonoluxBord::FollowMove(const QString& path) {
    // A control that can follow a moved file keeps its samples and picture; one
    // that cannot loads the file again from its new place.
    // Looked up once: a keystroke's move follows at once.
    if (!m_followFile) m_followFile = m_control->metaObject()->indexOfMethod("FollowFile(QString)");
    if (*m_followFile < 0) {
        PassFilename(path);
        return;
    }
    m_settingFilename = true;
    m_control->metaObject()->method(*m_followFile).invoke(m_control, Q_ARG(QString, path));
    m_settingFilename = false;
    m_control->setToolTip(path);
    RefreshMarksUnlessLoading(path);
}

void SonoluxBord::SetSuggestion(const QString& text) {
    m_marks->SetSuggestion(text);
}

void SonoluxBord::PassFilename(const QString& path) {
    // A suggestion was for the recording where it was.
    if (path != Filename()) m_marks->SetSuggestion(QString());
    m_settingFilename = true;
    m_properties.Write(ControlProperties::Filename, path);
    m_settingFilename = false;
    m_control->setToolTip(path);
    RefreshMarksUnlessLoading(path);
}

void SonoluxBord::RefreshMarksUnlessLoading(const QString& path) {
    // Reading what a load still under way found would wait for it here, on the
    // window thread; its LoadStateChanged marks the cell instead. Until then
    // the marks of the load state before stand, and are right if it does not
    // change. Only the folder follows the name at once.
    if (IsLoadPending()) {
        RefreshMovedMark(path);
        return;
    }
    RefreshMarks(path);
}

bool SonoluxBord::IsLoadPending() const {
    // A control that does not tell loads at once.
    return m_properties.Read(ControlProperties::LoadPending).toBool();
}

bool SonoluxBord::IsLoaded() const {
    return IsLoaded(Filename());
}

bool SonoluxBord::IsLoaded(const QString& path) const {
    if (path.isEmpty()) return true;
    const QVariant loaded = m_properties.Read(ControlProperties::Loaded);
    return !loaded.isValid() || loaded.toBool();
}

StatusText::RecordingInfo SonoluxBord::RecordingInfo() const {
    const auto read = [this](ControlProperties::Name name) { return m_properties.Read(name); };
    StatusText::RecordingInfo info;
    info.loaded = read(ControlProperties::Loaded).toBool();
    info.sampleRate = read(ControlProperties::SampleRate).toUInt();
    info.channels = read(ControlProperties::Channels).toInt();
    info.bitsPerSample = read(ControlProperties::BitsPerSample).toInt();
    info.totalFrames = read(ControlProperties::TotalFrames).toLongLong();
    info.loadedFrames = read(ControlProperties::LoadedFrames).toLongLong();
    return info;
}

bool SonoluxBord::IsPicturePending() const {
    return m_properties.Read(ControlProperties::PicturePending).toBool();
}

bool SonoluxBord::IsPlaying() const {
    return m_control->property("Playing").toBool();
}

QString SonoluxBord::PlayError() const {
    return m_control->property("PlayError").toString();
}

bool SonoluxBord::WasMoved() const {
    const QString path = Filename();
    return !path.isEmpty() && !m_loadedPath.isEmpty() &&
           FileSystem::GetParentFolderName(path) != FileSystem::GetParentFolderName(m_loadedPath);
}

void SonoluxBord::RefreshMovedMark(const QString& path) {
    const QString folder = FileSystem::GetParentFolderName(path);
    const bool moved = !path.isEmpty() && !m_loadedPath.isEmpty() &&
                       folder != FileSystem::GetParentFolderName(m_loadedPath);
    m_marks->SetMovedTo(moved ? FileSystem::GetFileName(folder) : QString());
}

void SonoluxBord::RefreshMarks(const QString& path) {
    RefreshMovedMark(path);
    // Run for every cell of every batch: only what a mark shows is read.
    // Read once: a control that does not say is taken as having read its file,
    // but says nothing of what part of it.
    const QVariant said =
        path.isEmpty() ? QVariant() : m_properties.Read(ControlProperties::Loaded);
    const bool loaded = !said.isValid() || said.toBool();
    m_marks->SetUnreadable(
        !loaded, loaded ? QString() : m_properties.Read(ControlProperties::LoadError).toString());
    m_marks->SetPartialLength(said.toBool() ? PartialLengthMark() : QString());
}

QString SonoluxBord::PartialLengthMark() const {
    StatusText::RecordingInfo info;
    info.loaded = true;
    info.totalFrames = m_properties.Read(ControlProperties::TotalFrames).toLongLong();
    info.loadedFrames = m_properties.Read(ControlProperties::LoadedFrames).toLongLong();
    if (info.loadedFrames >= info.totalFrames) return {};
    info.sampleRate = m_properties.Read(ControlProperties::SampleRate).toUInt();
    return StatusText::PartialLengthMark(info);
}
