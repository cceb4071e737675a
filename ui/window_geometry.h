// Where the window's outer sizes land on this platform. The logic speaks in
// the outer heights of a classic framed window (title bar, menu bar and
// borders included); the Qt window places its controls in the client area
// below the menu bar, so both heights are mapped here and nowhere else.
#pragma once

#include <QRect>

#include "batch/form_layout.h"

namespace imgcrypt::geometry {

// Frame, title bar and menu bar of the classic window took this much of the
// outer height; what is left is the client area the controls live in.
inline constexpr int kOuterToClientHeight = 53;
// Left and right borders of the classic window.
inline constexpr int kOuterToClientWidth = 8;

// 390 -> 337: the client area ends just above the progress row (top 337).
// 420 -> 367: the progress row, Cancel button included, is in view.
constexpr int ClientHeightForOuter(int outerHeight) {
    return outerHeight - kOuterToClientHeight;
}
// The width never changes after creation.
inline constexpr int kClientWidth = form::kCreationOuterWidth - kOuterToClientWidth;

// The form's rectangles are client pixels already (or, for radio items, the
// group's own pixels, which is where Qt places a group's children).
constexpr QRect QtRect(const form::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

}  // namespace imgcrypt::geometry
