#pragma once

#include <QSize>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "engine/FileIdentity.h"
#include "engine/SpectrogramImage.h"
#include "engine/SpectrogramParameters.h"
#include "engine/WaveLoader.h"

namespace sonolux {

using SharedPicture = std::shared_ptr<const SpectrogramImage>;

// What a picture is made from besides its samples.
struct PictureRecipe {
    SpectrogramParameters parameters;
    PictureOptions options;
    QSize sizePx;  // device pixels of the control
};

// Whether two recipes draw the same picture (the power bounds compared bit for bit).
bool SameRecipe(const PictureRecipe& a, const PictureRecipe& b);

// Samples and pictures made from files, shared by every control of the module:
// samples keyed by the file's identity and what the load took (FrameLimit,
// FloatSamples), pictures by that and everything they are drawn from. Entries
// are immutable and shared, so a control and the cache hold one copy. Bounded by
// the bytes of what it holds; the least recently used entries go first. Safe to
// use from several threads at once.
class PictureCache : public ISampleStore {
public:
    static constexpr std::uint64_t DefaultByteLimit = std::uint64_t{256} << 20;

    explicit PictureCache(std::uint64_t byteLimit = DefaultByteLimit);

    // 0 keeps nothing; a smaller limit lets the least recently used entries go at once.
    void SetByteLimit(std::uint64_t bytes);
    std::uint64_t ByteLimit() const;
    // Bytes of samples and pictures held.
    std::uint64_t Bytes() const;
    std::size_t EntryCount() const;
    void Clear();

    SharedSamples FindSamples(const FileIdentity& file, const LoadOptions& options) override;
    void KeepSamples(const FileIdentity& file, const LoadOptions& options,
                     const SharedSamples& samples) override;

    void KeepName(const std::string& path, const LoadOptions& options, const FileIdentity& file,
                  const WaveFileInfo& info) override;
    // What a load of `path` with `options` finds, taken from what a load of the
    // same name found before, without opening the file: only while the name
    // still names the file of that identity and its samples are held. Nothing
    // otherwise (a load must then read the file).
    std::optional<SharedLoad> FindLoadByName(const std::string& path, const LoadOptions& options);

    SharedPicture FindPicture(const FileIdentity& file, const LoadOptions& options,
                              const PictureRecipe& recipe);
    void KeepPicture(const FileIdentity& file, const LoadOptions& options,
                     const PictureRecipe& recipe, const SharedPicture& picture);

    struct Key {
        FileIdentity file;
        std::uint32_t frameLimit = 0;
        bool floatSamples = false;
        bool picture = false;
        PictureRecipe recipe;  // only for a picture
    };

private:
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct KeyEqual {
        bool operator()(const Key& a, const Key& b) const;
    };
    struct Entry {
        Key key;
        SharedSamples samples;
        SharedPicture picture;
        std::uint64_t bytes = 0;
    };
    using Entries = std::list<Entry>;

    static Key MakeKey(const FileIdentity& file, const LoadOptions& options);
    const Entry* Find(const Key& key);
    void Keep(Entry entry);
    void TrimTo(std::uint64_t bytes);

    // The files names were last found to name, for FindLoadByName. They are not
    // what the byte limit counts: they have a budget of their own, and when it
    // is spent they are forgotten together.
    struct KnownName {
        FileIdentity file;
        WaveFileInfo info;
    };
    static constexpr std::uint64_t KnownNameBytes = std::uint64_t{4} << 20;
    static std::uint64_t BytesOf(const std::string& name);
    static std::string NameKey(const std::string& path, const LoadOptions& options);

    mutable std::mutex m_mutex;
    std::unordered_map<std::string, KnownName> m_names;
    std::uint64_t m_nameBytes = 0;
    std::uint64_t m_limit;
    std::uint64_t m_bytes = 0;
    Entries m_entries;  // most recently used first
    std::unordered_map<Key, Entries::iterator, KeyHash, KeyEqual> m_index;
};

// The one cache of the module.
PictureCache& SharedPictureCache();

}  // namespace sonolux
