#include "codec/container_layout.h"

#include <algorithm>
#include <cstring>

#include "codec/base64.h"
#include "runtime/generator.h"

namespace imgcrypt {
namespace {

// Drawn characters have the codes 33 to 125.
constexpr int kLowestDrawn = 33;
constexpr int kAboveDrawn = 126;

constexpr std::size_t kShiftValues = 9;
constexpr std::string_view kLineBreak = "\r\n";

char DrawChar() noexcept {
    return static_cast<char>(RandomBetween(kLowestDrawn, kAboveDrawn));
}

}  // namespace

std::size_t PayloadLength(std::size_t sourceSize, EncryptionClass cls) noexcept {
    return Base64TextSize(sourceSize, cls == EncryptionClass::Standard);
}

std::size_t ContainerFileSize(std::size_t sourceSize, EncryptionClass cls) noexcept {
    return kPasswordBlockLength + PayloadLength(sourceSize, cls) + kTrailerTail + kLineBreak.size();
}

TrailerDraws DrawTrailerCharacters() noexcept {
    TrailerDraws draws;
    draws.shiftChar = DrawChar();
    for (char& c : draws.fillers) c = DrawChar();
    return draws;
}

int ShiftValue(char shiftChar) noexcept {
    return static_cast<int>(static_cast<unsigned char>(shiftChar) % kShiftValues);
}

std::string_view StartFile(char* text, std::size_t length, std::string_view block,
                           std::string& head) {
    head.assign(text, std::min(length, kHeadLength));
    char* const start = text + head.size() - kPasswordBlockLength;
    std::memcpy(start, block.data(), kPasswordBlockLength);
    return std::string_view(start, kPasswordBlockLength + length - head.size());
}

std::string MakeTrailer(std::string_view head, const TrailerDraws& draws, EncryptionClass cls) {
    std::string trailer(head);
    trailer += draws.shiftChar;
    trailer.append(draws.fillers.data(), draws.fillers.size());
    trailer += cls == EncryptionClass::High ? kHighMarker : kStandardMarker;
    trailer += kLineBreak;
    return trailer;
}

std::size_t GatherPayloadInPlace(char* text, std::size_t size) noexcept {
    if (size < kPasswordBlockLength + kTrailerLength) {
        // Too short for block, head and trailer: a payload under 20
        // characters, stored whole between the block and the shift character.
        const std::size_t end = size > kTrailerTail ? size - kTrailerTail : 0;
        if (end <= kPasswordBlockLength) return 0;
        std::memmove(text, text + kPasswordBlockLength, end - kPasswordBlockLength);
        return end - kPasswordBlockLength;
    }
    // The body already follows position 20; the head replaces the block.
    std::memcpy(text, text + size - kTrailerLength, kHeadLength);
    return size - kTrailerLength;
}

}  // namespace imgcrypt
