#pragma once

#include <QSize>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
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

    mutable std::mutex m_mutex;
    std::uint64_t m_limit;
    std::uint64_t m_bytes = 0;
    Entries m_entries;  // most recently used first
    std::unordered_map<Key, Entries::iterator, KeyHash, KeyEqual> m_index;
};

// The one cache of the module.
PictureCache& SharedPictureCache();

}  // namespace sonolux
