#include "engine/PictureCache.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace sonolux {
namespace {

// Powers are compared by their bits: a NaN is then the same as itself, and a key
// never matches a picture drawn from another value.
std::uint32_t Bits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

}  // namespace

bool SameRecipe(const PictureRecipe& a, const PictureRecipe& b) {
    const SpectrogramParameters& p = a.parameters;
    const SpectrogramParameters& q = b.parameters;
    return p.frameLengthChoice == q.frameLengthChoice && p.fftSizeChoice == q.fftSizeChoice &&
           p.windowFunctionChoice == q.windowFunctionChoice && p.hopSize == q.hopSize &&
           Bits(p.powerMin) == Bits(q.powerMin) && Bits(p.powerMax) == Bits(q.powerMax) &&
           a.options.everySample == b.options.everySample &&
           a.options.autoContrast == b.options.autoContrast && a.sizePx == b.sizePx;
}

PictureCache::PictureCache(std::uint64_t byteLimit) : m_limit(byteLimit) {}

void PictureCache::SetByteLimit(std::uint64_t bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_limit = bytes;
    TrimTo(m_limit);
    if (m_limit == 0) {
        m_names.clear();
        m_nameBytes = 0;
    }
}

std::uint64_t PictureCache::ByteLimit() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_limit;
}

std::uint64_t PictureCache::Bytes() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

std::size_t PictureCache::EntryCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.size();
}

void PictureCache::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    TrimTo(0);
    m_names.clear();
    m_nameBytes = 0;
}

PictureCache::Key PictureCache::MakeKey(const FileIdentity& file, const LoadOptions& options) {
    Key key;
    key.file = file;
    key.frameLimit = std::clamp(options.frameLimit, 1u, LargestFrameLimit);
    key.floatSamples = options.floatSamples;
    return key;
}

SharedSamples PictureCache::FindSamples(const FileIdentity& file, const LoadOptions& options) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const Entry* entry = Find(MakeKey(file, options));
    return entry ? entry->samples : SharedSamples();
}

void PictureCache::KeepSamples(const FileIdentity& file, const LoadOptions& options,
                               const SharedSamples& samples) {
    if (!samples) return;
    Entry entry;
    entry.key = MakeKey(file, options);
    entry.samples = samples;
    entry.bytes = samples->size() * sizeof(std::int16_t) + sizeof(Entry);
    std::lock_guard<std::mutex> lock(m_mutex);
    Keep(std::move(entry));
}

std::string PictureCache::NameKey(const std::string& path, const LoadOptions& options) {
    const Key key = MakeKey(FileIdentity{}, options);
    // A name holds no NUL byte, so what follows the first one is the options.
    std::string name = path;
    name += '\0';
    name += std::to_string(key.frameLimit);
    name += key.floatSamples ? "f" : "i";
    return name;
}

void PictureCache::KeepName(const std::string& path, const LoadOptions& options,
                            const FileIdentity& file, const WaveFileInfo& info) {
    std::string name = NameKey(path, options);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_limit == 0) return;
    const auto known = m_names.find(name);
    if (known != m_names.end()) {
        known->second = KnownName{file, info};
        return;
    }
    const std::uint64_t bytes = BytesOf(name);
    if (m_nameBytes + bytes > KnownNameBytes) {
        m_names.clear();
        m_nameBytes = 0;
    }
    if (bytes > KnownNameBytes) return;
    m_names.emplace(std::move(name), KnownName{file, info});
    m_nameBytes += bytes;
}

std::uint64_t PictureCache::BytesOf(const std::string& name) {
    // The name's own bytes and a map node's share, roughly.
    return name.size() + sizeof(KnownName) + 64;
}

std::optional<SharedLoad> PictureCache::FindLoadByName(const std::string& path,
                                                       const LoadOptions& options) {
    KnownName known;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_names.empty()) return {};
        const auto found = m_names.find(NameKey(path, options));
        if (found == m_names.end()) return {};
        known = found->second;
    }
    // Any change to the file since (a write, a replacement, a rename onto the
    // name) shows in its identity.
    const std::optional<FileIdentity> now = IdentityOfName(path);
    if (!now || *now != known.file) return {};
    SharedSamples samples = FindSamples(known.file, options);
    if (!samples || samples->size() != known.info.loadedFrames) return {};
    SharedLoad load;
    load.result = LoadResult::Replaced;
    load.samples = std::move(samples);
    load.info = known.info;
    load.identity = known.file;
    load.settled = true;
    return load;
}

SharedPicture PictureCache::FindPicture(const FileIdentity& file, const LoadOptions& options,
                                        const PictureRecipe& recipe) {
    Key key = MakeKey(file, options);
    key.picture = true;
    key.recipe = recipe;
    std::lock_guard<std::mutex> lock(m_mutex);
    const Entry* entry = Find(key);
    return entry ? entry->picture : SharedPicture();
}

void PictureCache::KeepPicture(const FileIdentity& file, const LoadOptions& options,
                               const PictureRecipe& recipe, const SharedPicture& picture) {
    if (!picture) return;
    Entry entry;
    entry.key = MakeKey(file, options);
    entry.key.picture = true;
    entry.key.recipe = recipe;
    entry.picture = picture;
    entry.bytes = picture->ByteCount() + sizeof(Entry);
    std::lock_guard<std::mutex> lock(m_mutex);
    Keep(std::move(entry));
}

const PictureCache::Entry* PictureCache::Find(const Key& key) {
    const auto found = m_index.find(key);
    if (found == m_index.end()) return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return &*found->second;
}

void PictureCache::Keep(Entry entry) {
    if (entry.bytes > m_limit) return;
    const auto found = m_index.find(entry.key);
    if (found != m_index.end()) {
        m_bytes -= found->second->bytes;
        m_entries.erase(found->second);
        m_index.erase(found);
    }
    TrimTo(m_limit - entry.bytes);
    m_bytes += entry.bytes;
    m_entries.push_front(std::move(entry));
    m_index.emplace(m_entries.front().key, m_entries.begin());
}

void PictureCache::TrimTo(std::uint64_t bytes) {
    while (m_bytes > bytes && !m_entries.empty()) {
        m_bytes -= m_entries.back().bytes;
        m_index.erase(m_entries.back().key);
        m_entries.pop_back();
    }
}

std::size_t PictureCache::KeyHash::operator()(const Key& key) const {
    std::size_t hash = HashOf(key.file);
    const auto mix = [&hash](std::uint64_t value) {
        hash ^=
            std::hash<std::uint64_t>{}(value) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
    };
    mix(key.frameLimit);
    mix((key.floatSamples ? 1u : 0u) | (key.picture ? 2u : 0u));
    if (!key.picture) return hash;
    const SpectrogramParameters& p = key.recipe.parameters;
    mix(static_cast<std::uint16_t>(p.frameLengthChoice));
    mix(static_cast<std::uint16_t>(p.fftSizeChoice));
    mix(static_cast<std::uint16_t>(p.windowFunctionChoice));
    mix(static_cast<std::uint32_t>(p.hopSize));
    mix(Bits(p.powerMin));
    mix(Bits(p.powerMax));
    mix((key.recipe.options.everySample ? 1u : 0u) | (key.recipe.options.autoContrast ? 2u : 0u));
    mix(static_cast<std::uint32_t>(key.recipe.sizePx.width()));
    mix(static_cast<std::uint32_t>(key.recipe.sizePx.height()));
    return hash;
}

bool PictureCache::KeyEqual::operator()(const Key& a, const Key& b) const {
    return a.file == b.file && a.frameLimit == b.frameLimit && a.floatSamples == b.floatSamples &&
           a.picture == b.picture && (!a.picture || SameRecipe(a.recipe, b.recipe));
}

PictureCache& SharedPictureCache() {
    static PictureCache cache;
    return cache;
}

}  // namespace sonolux
