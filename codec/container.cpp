#include "codec/container.h"

#include <span>
#include <utility>

#include "codec/base64.h"
#include "codec/container_layout.h"
#include "codec/high_level_scramble.h"
#include "runtime/line_text_file.h"

namespace imgcrypt {

Recognition Recognise(std::string_view containerText) noexcept {
    Recognition r;
    if (containerText.size() < kMarkerLength) return r;
    const std::string_view marker = containerText.substr(containerText.size() - kMarkerLength);
    r.highLevel = marker == kHighMarker;
    r.isContainer = r.highLevel || marker == kStandardMarker;
    return r;
}

std::string DecodeContainerText(std::string containerText) {
    const bool high = Recognise(containerText).highLevel;
    char* const t = containerText.data();
    const std::size_t len = GatherPayloadInPlace(t, containerText.size());
    if (high) UnscrambleHighLevel(std::span<char>(t, len));
    containerText.resize(DecodeBase64Into(std::string_view(t, len), t));
    return containerText;
}

std::string DecodeContainerFile(std::string fileBytes) {
    return DecodeContainerText(JoinedLines(std::move(fileBytes)));
}

}  // namespace imgcrypt
