// The control's loads and pictures: a write asks the workers for a load, a read
// of the load state finishes it, and pictures come from the module's cache or
// are drawn on the workers and taken in on the window thread.
#include "control/CSonoluxCtrl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <optional>
#include <string>

#include "control/ExactFileName.h"
#include "engine/WaveLoader.h"

void CSonoluxCtrl::LoadWaveFile(const QString& path) {
    // A picture still being drawn is for samples this load may replace.
    ++m_pictureGeneration;
    const PendingLoad pending{nullptr, path, m_loadOptions};
    // A name that names no file exactly is a file that cannot be read: refused
    // at once, as an empty name is emptied at once; neither touches a file.
    const std::optional<QByteArray> localPath = sonolux::ExactFileNameBytes(path);
    if (!localPath || path.isEmpty()) {
        sonolux::SharedLoad load;
        if (localPath) {
            load = sonolux::LoadSharedWaveFile(std::string(), m_loadOptions);
            DropPendingLoads();
        } else {
            load.refusal = sonolux::LoadRefusal{sonolux::LoadFailure::NameNotUsable};
            // The samples kept are those of the newest earlier write that loaded.
            FinishPendingLoad();
        }
        TakeInLoad(pending, load);
        return;
    }
    const sonolux::LoadOptions options = m_loadOptions;
    std::string file = localPath->toStdString();
    // The same file as a load of this name found before, its samples still in
    // the module's cache (an undo, a batch shown again, an option set back): it
    // is taken at once, as the load would take it, and its picture with it.
    if (std::optional<sonolux::SharedLoad> known =
            sonolux::SharedPictureCache().FindLoadByName(file, options)) {
        DropPendingLoads();
        TakeInLoad(pending, *known);
        if (isVisible() && !TakeCachedPicture(CurrentRecipe())) SetPicturePending(true);
        return;
    }
    auto job =
        std::make_shared<sonolux::LoadJob>(++m_loadGeneration, [file = std::move(file), options] {
            return sonolux::LoadSharedWaveFile(file, options, &sonolux::SharedPictureCache());
        });
    for (const PendingLoad& older : m_pendingLoads) older.job->Supersede();
    m_pendingLoads.push_back(PendingLoad{job, path, options});
    // A shown control would ask for its picture as soon as the samples are in:
    // the worker draws it straight after the load, which spares a round trip
    // through this thread. A hidden one is drawn only once shown.
    std::optional<sonolux::PictureAfterLoad> picture;
    if (isVisible()) picture = sonolux::PictureAfterLoad{CurrentRecipe(), options};
    sonolux::LoadOnWorker(std::move(job), m_mailbox, std::move(picture));
    // The spectrogram shown is no longer the one of Filename.
    if (isVisible()) SetPicturePending(true);
    update();
}

void CSonoluxCtrl::FinishPendingLoad() {
    if (m_pendingLoads.empty()) return;
    std::vector<PendingLoad> loads;
    loads.swap(m_pendingLoads);
    const PendingLoad& newest = loads.back();
    const sonolux::SharedLoad& result = newest.job->Finish();
    if (result.result == sonolux::LoadResult::Replaced) {
        for (std::size_t i = 0; i + 1 < loads.size(); ++i) loads[i].job->Cancel();
    } else {
        // A refusal leaves the samples of the write before it, as that write's
        // load would have left them had it been taken in first.
        for (std::size_t i = loads.size() - 1; i-- > 0;) {
            const sonolux::SharedLoad& earlier = loads[i].job->Finish();
            if (earlier.result != sonolux::LoadResult::Replaced) continue;
            TakeInLoad(loads[i], earlier);
            for (std::size_t j = 0; j < i; ++j) loads[j].job->Cancel();
            break;
        }
    }
    TakeInLoad(newest, result);
}

void CSonoluxCtrl::TakeInLoad(const PendingLoad& load, const sonolux::SharedLoad& result) {
    const bool replaced = result.result == sonolux::LoadResult::Replaced;
    if (replaced) {
        m_samples = result.samples;
        m_samplesFile = result.identity;
        m_samplesFileSettled = result.settled;
        m_samplesOptions = load.options;
        if (result.readFromFile) ++m_fileReads;
        MarkImageDirty();
    } else {
        // The previous picture stays, and is shown again.
        if (!m_imageDirty) SetPicturePending(false);
        Repaint();
    }
    // Nothing would start the picture of a hidden control.
    if (m_imageDirty && !isVisible()) SetPicturePending(false);
    SetLoadState(replaced && !load.path.isEmpty(), result.info,
                 QString::fromStdString(sonolux::LoadRefusalText(result.refusal)));
}

void CSonoluxCtrl::DropPendingLoads() {
    for (const PendingLoad& load : m_pendingLoads) load.job->Cancel();
    m_pendingLoads.clear();
}

void CSonoluxCtrl::OnLoadReady(const sonolux::LoadReadyEvent& ready) {
    {
        // What the load changes on screen is shown at the next frame, with the
        // other loads and pictures that arrive meanwhile. An arrival taken in by
        // an event loop that a host's slot runs meanwhile leaves this as it was.
        const QScopedValueRollback<bool> takingArrival(m_takingArrival, true);
        // Only the newest write's load is taken in; an older one is stale, and a
        // getter may have taken this one in already.
        if (!m_pendingLoads.empty() && m_pendingLoads.back().job->generation == ready.generation)
            FinishPendingLoad();
        // The picture drawn with the load is taken only while it is still the one
        // wanted: of the samples held, for the state the control is in now.
        if (ready.picture && m_pendingLoads.empty() && m_imageDirty && m_samples == ready.samples &&
            sonolux::SameRecipe(CurrentRecipe(), ready.recipe)) {
            TakePicture(ready.picture, ready.recipe, ready.drawn);
            RepaintAtNextFrame();
        }
    }
    // Without its picture the samples still need the paint that asks for one.
    if (m_repaintDue && m_imageDirty && m_pendingLoads.empty()) update();
}

void CSonoluxCtrl::Repaint() {
    if (m_takingArrival) {
        RepaintAtNextFrame();
    } else {
        update();
    }
}

void CSonoluxCtrl::RepaintAtNextFrame() {
    m_repaintDue = true;
    if (m_awaitingFrame) return;
    m_awaitingFrame = true;
    FramePacer::Shared().Schedule(*this);
}

void CSonoluxCtrl::OnFrame() {
    m_awaitingFrame = false;
    if (!m_repaintDue) return;
    m_repaintDue = false;
    update();
}

const CSonoluxCtrl& CSonoluxCtrl::Settled() const {
    // Reading what a load found takes its result in, and so changes the state
    // behind the read, not what the read answers.
    if (!m_pendingLoads.empty()) const_cast<CSonoluxCtrl*>(this)->FinishPendingLoad();
    return *this;
}

void CSonoluxCtrl::ReloadWaveFile() {
    // Without a name there are no samples to take differently.
    if (!m_filename.isEmpty()) LoadWaveFile(m_filename);
}

void CSonoluxCtrl::SetLoadState(bool loaded, const sonolux::WaveFileInfo& info,
                                const QString& error) {
    if (loaded == m_loaded && info == m_fileInfo && error == m_loadError) return;
    m_loaded = loaded;
    m_fileInfo = info;
    m_loadError = error;
    emit LoadStateChanged();
}

sonolux::PictureRecipe CSonoluxCtrl::CurrentRecipe() const {
    sonolux::PictureRecipe recipe;
    recipe.parameters = m_parameters;
    recipe.options.everySample = m_everySample;
    recipe.options.autoContrast = m_autoContrast;
    recipe.sizePx = GetControlSize();
    return recipe;
}

bool CSonoluxCtrl::TakeCachedPicture(const sonolux::PictureRecipe& recipe) {
    // Samples of no file (an empty Filename) have no identity and are drawn each time.
    if (!m_samplesFile) return false;
    sonolux::SharedPicture found =
        sonolux::SharedPictureCache().FindPicture(*m_samplesFile, m_samplesOptions, recipe);
    if (!found) return false;
    TakePicture(found, recipe, false);
    return true;
}

void CSonoluxCtrl::TakePicture(const sonolux::SharedPicture& picture,
                               const sonolux::PictureRecipe& recipe, bool drawn) {
    m_image = picture;
    m_imageRecipe = recipe;
    m_imageDirty = false;
    if (drawn) {
        ++m_imageBuildCount;
        if (m_samplesFile && m_samplesFileSettled)
            sonolux::SharedPictureCache().KeepPicture(*m_samplesFile, m_samplesOptions, recipe,
                                                      m_image);
    }
    SetPicturePending(false);
}

void CSonoluxCtrl::BuildImage() {
    const sonolux::PictureRecipe recipe = CurrentRecipe();
    if (TakeCachedPicture(recipe)) return;
    auto built = std::make_shared<sonolux::SpectrogramImage>();
    built->Build(*m_samples, recipe.parameters, recipe.sizePx, recipe.options);
    TakePicture(built, recipe, true);
}

void CSonoluxCtrl::StartPicture() {
    const sonolux::PictureRecipe recipe = CurrentRecipe();
    if (TakeCachedPicture(recipe)) return;
    if (m_startedGeneration != m_pictureGeneration) {
        m_startedGeneration = m_pictureGeneration;
        sonolux::DrawPictureOnWorker(m_pictureGeneration, m_samples, recipe, m_mailbox);
    }
    SetPicturePending(true);
}

void CSonoluxCtrl::OnPictureReady(const sonolux::PictureReadyEvent& ready) {
    // (A write of Filename moves the generation on as well.)
    // Drawn for a state the control has left since (or already drawn at once for a
    // metafile): dropped; the paint of the newer state has asked for its own.
    if (ready.generation != m_pictureGeneration || !m_imageDirty) return;
    TakePicture(ready.picture, ready.recipe, true);
    RepaintAtNextFrame();
}

void CSonoluxCtrl::SetPicturePending(bool pending) {
    if (pending == m_picturePending) return;
    m_picturePending = pending;
    emit PictureStateChanged();
}

void CSonoluxCtrl::hideEvent(QHideEvent* event) {
    // A hidden control is not painted, so nothing would start a newer picture.
    if (m_startedGeneration != m_pictureGeneration || !m_pendingLoads.empty())
        SetPicturePending(false);
    COleControl::hideEvent(event);
}
