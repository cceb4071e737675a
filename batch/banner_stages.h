// What the web banner shows, and what it tries after a page fails: the
// site's page, then the local page of the start-up language once, then a
// blank page; each is tried once, so a failing page never loops.
#pragma once

#include <optional>

namespace imgcrypt {

enum class BannerStage { Page, Fallback, Blank };

// The stage to load after the page of `stage` failed to load; none when
// nothing is left to try. `hasFallback`: whether there is a local page.
constexpr std::optional<BannerStage> StageAfterFailure(BannerStage stage,
                                                       bool hasFallback) noexcept {
    switch (stage) {
        case BannerStage::Page:
            return hasFallback ? BannerStage::Fallback : BannerStage::Blank;
        case BannerStage::Fallback:
            return BannerStage::Blank;
        case BannerStage::Blank:
            break;
    }
    return std::nullopt;
}

}  // namespace imgcrypt
