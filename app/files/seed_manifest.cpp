#include "seed_manifest.h"

#include "ascii.h"

namespace {

constexpr std::string_view kHeader = "corvan-seeded 1";
constexpr std::size_t kHashLength = 16;

bool isHash(std::string_view text)
{
    if (text.size() != kHashLength)
        return false;
    for (char c : text) {
        if (!(ascii::isDigit(c) || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

// A relative name inside the folder: no leading '/', no empty, "." or ".." part.
bool isInsideName(std::string_view name)
{
    if (name.empty() || name.front() == '/')
        return false;
    std::size_t begin = 0;
    while (begin <= name.size()) {
        std::size_t end = name.find('/', begin);
        if (end == std::string_view::npos)
            end = name.size();
        const std::string_view part = name.substr(begin, end - begin);
        if (part.empty() || part == "." || part == "..")
            return false;
        begin = end + 1;
    }
    return true;
}

}  // namespace

std::string SeedManifest::contentHash(std::string_view bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    std::string text(kHashLength, '0');
    for (std::size_t i = kHashLength; i > 0; --i) {
        text[i - 1] = "0123456789abcdef"[hash & 0xFu];
        hash >>= 4;
    }
    return text;
}

std::optional<SeedManifest> SeedManifest::parse(std::string_view text)
{
    SeedManifest manifest;
    bool first = true;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == text.size() ? end : end + 1);
        if (first) {
            if (line != kHeader)
                return std::nullopt;
            first = false;
            continue;
        }
        if (line.size() < kHashLength + 2 || line[kHashLength] != ' ')
            return std::nullopt;
        const std::string_view hash = line.substr(0, kHashLength);
        const std::string name(line.substr(kHashLength + 1));
        if (!isHash(hash) || !isInsideName(name) || manifest.hashes_.count(name) != 0)
            return std::nullopt;
        manifest.hashes_[name] = std::string(hash);
    }
    if (first)
        return std::nullopt;
    return manifest;
}

std::string SeedManifest::text() const
{
    std::string text(kHeader);
    text += '\n';
    for (const auto& [name, hash] : hashes_)
        text += hash + ' ' + name + '\n';
    return text;
}

std::optional<std::string> SeedManifest::seededHash(const std::string& name) const
{
    const auto found = hashes_.find(name);
    if (found == hashes_.end())
        return std::nullopt;
    return found->second;
}
