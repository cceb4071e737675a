// The form's rectangles as Qt's.
#pragma once

#include <QRect>

#include "batch/form_layout.h"

namespace imgcrypt::geometry {

// The form's rectangles are client pixels already (or, for radio items, the
// group's own pixels, which is where Qt places a group's children).
constexpr QRect QtRect(const form::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

}  // namespace imgcrypt::geometry
