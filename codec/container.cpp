#include "codec/container.h"

#include "codec/container_layout.h"

namespace imgcrypt {

Recognition Recognise(std::string_view containerText) noexcept {
    Recognition r;
    if (containerText.size() < kMarkerLength) return r;
    const std::string_view marker = containerText.substr(containerText.size() - kMarkerLength);
    r.highLevel = marker == kHighMarker;
    r.isContainer = r.highLevel || marker == kStandardMarker;
    return r;
}

}  // namespace imgcrypt
