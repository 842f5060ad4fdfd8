#include "wren_utils/archive/BigArchiveWriter.h"

#include <algorithm>
#include <new>

namespace wren {
namespace {

void PutWord(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

} // namespace

void BigArchiveWriter::Add(std::string name, std::span<const std::uint8_t> data) {
    entries_.push_back({std::move(name), std::vector<std::uint8_t>(data.begin(), data.end())});
}

std::optional<std::vector<std::uint8_t>> BigArchiveWriter::Build(std::string& error) const {
    if (alignment_ < 1 || alignment_ > 4096) {
        error = "alignment must lie between 1 and 4096";
        return std::nullopt;
    }
    if (marker_ && (!IsLetter(marker_->letter) || marker_->version < 0 || marker_->version > 999)) {
        error = "version marker needs a letter and a version from 0 to 999";
        return std::nullopt;
    }
    std::uint64_t directoryEnd = 16;
    for (const Entry& entry : entries_) {
        if (entry.name.empty() || entry.name.size() > 255 ||
            entry.name.find('\0') != std::string::npos) {
            error = "entry name '" + entry.name.substr(0, 40) +
                    "' must be 1 to 255 bytes without a zero byte";
            return std::nullopt;
        }
        directoryEnd += 8 + entry.name.size() + 1;
    }
    auto built = Layout(directoryEnd, marker_, error);
    if (built && !marker_ && directoryEnd >= 24) {
        // Readers would take the directory's last 8 bytes for a marker: write a real one.
        const std::uint8_t* tail = built->data() + directoryEnd - 8;
        if (IsLetter(static_cast<char>(tail[0])) && IsDigit(tail[1]) && IsDigit(tail[2]) &&
            IsDigit(tail[3]))
            built = Layout(directoryEnd, VersionMarker{}, error);
    }
    return built;
}

std::optional<std::vector<std::uint8_t>>
BigArchiveWriter::Layout(std::uint64_t directoryEnd, const std::optional<VersionMarker>& marker,
                         std::string& error) const {
    const std::uint64_t headerLength = directoryEnd + (marker ? 8 : 0);
    std::uint64_t total = headerLength;
    std::vector<std::uint64_t> offsets;
    for (const Entry& entry : entries_) {
        total = (total + alignment_ - 1) / alignment_ * alignment_;
        offsets.push_back(total);
        total += entry.data.size();
        if (total > 0xFFFFFFFFu) {
            error = "archive would reach 4 GiB";
            return std::nullopt;
        }
    }
    std::vector<std::uint8_t> out;
    try {
        out.resize(static_cast<std::size_t>(total));
    } catch (const std::bad_alloc&) {
        error = "not enough memory for an archive of " + std::to_string(total) + " bytes";
        return std::nullopt;
    }
    const char* magic = kind_ == Kind::Bigf ? "BIGF" : "BIG4";
    std::copy(magic, magic + 4, out.begin());
    PutWord(out, 4, total);
    PutWord(out, 8, entries_.size());
    PutWord(out, 12, headerLength);
    std::size_t at = 16;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        PutWord(out, at, offsets[i]);
        PutWord(out, at + 4, entries_[i].data.size());
        std::copy(entries_[i].name.begin(), entries_[i].name.end(), out.begin() + at + 8);
        at += 8 + entries_[i].name.size() + 1;
    }
    if (marker) {
        const int version = marker->version;
        out[at] = static_cast<std::uint8_t>(marker->letter);
        out[at + 1] = static_cast<std::uint8_t>('0' + version / 100);
        out[at + 2] = static_cast<std::uint8_t>('0' + version / 10 % 10);
        out[at + 3] = static_cast<std::uint8_t>('0' + version % 10);
        PutWord(out, at + 4, marker->value);
    }
    for (std::size_t i = 0; i < entries_.size(); ++i)
        std::copy(entries_[i].data.begin(), entries_[i].data.end(),
                  out.begin() + static_cast<std::ptrdiff_t>(offsets[i]));
    return out;
}

} // namespace wren
