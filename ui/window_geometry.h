// Where the window's outer sizes land on this platform. The logic speaks in
// the outer heights of a classic framed window (title bar, menu bar and
// borders included); the Qt window places its controls in the client area
// below the menu bar, so both heights are mapped here and nowhere else.
#pragma once

#include <QRect>

namespace imgcrypt::geometry {

// Frame, title bar and menu bar of the classic window took this much of the
// outer height; what is left is the client area the controls live in.
inline constexpr int kOuterToClientHeight = 53;
// Left and right borders of the classic window.
inline constexpr int kOuterToClientWidth = 8;

inline constexpr int kOuterWidth = 526;

// 370 -> 317: the client area ends just above the progress row (top 317).
// 400 -> 347: the progress row, Cancel button included, is in view.
constexpr int ClientHeightForOuter(int outerHeight) {
    return outerHeight - kOuterToClientHeight;
}
inline constexpr int kClientWidth = kOuterWidth - kOuterToClientWidth;

// Control rectangles in client pixels (left, top, width, height).
inline constexpr QRect kWebBrowser1{8, 5, 500, 140};
inline constexpr QRect kRgSuffix{8, 152, 500, 41};
inline constexpr QRect kGbEncClass{8, 200, 500, 41};
inline constexpr QRect kLbOpen{8, 252, 73, 13};
inline constexpr QRect kEdtDir{80, 248, 353, 21};
inline constexpr QRect kBtnOpen{447, 248, 60, 25};
inline constexpr QRect kLbPassword{8, 284, 73, 13};
inline constexpr QRect kEdtEnpass{80, 280, 81, 21};
inline constexpr QRect kLbPassNote{168, 285, 217, 17};
inline constexpr QRect kBtnEnc{387, 280, 60, 25};
inline constexpr QRect kBtnDec{447, 280, 60, 25};
inline constexpr QRect kProgressBar1{8, 320, 361, 17};
inline constexpr QRect kLbProgress{376, 322, 73, 13};
inline constexpr QRect kBtnCancel{448, 317, 60, 25};

}  // namespace imgcrypt::geometry
