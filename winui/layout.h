// What the Win32 main window adds to the shared form (batch/form_layout.h):
// an identifier for each control, radio item and menu entry, and the child
// windows it creates, in the form's order with each radio group followed by
// its items, so the z-order is the order Tab walks.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "batch/form_layout.h"

namespace imgcrypt::winui {

// Child-window and menu-command identifiers: the form's ids from 100 on,
// clear of IDOK and IDCANCEL, which the dialog keys send.
inline constexpr int kFirstCommandId = 100;

constexpr int CommandId(form::Id id) noexcept {
    return kFirstCommandId + form::IndexOf(id);
}
// The form's id of a child window or menu command; none for others.
constexpr std::optional<form::Id> FormIdOf(int commandId) noexcept {
    const int index = commandId - kFirstCommandId;
    if (index < 0 || index >= form::kIdCount) return std::nullopt;
    return static_cast<form::Id>(index);
}

enum class ChildKind {
    Banner,        // the web banner (WebBanner)
    GroupBox,      // frame and caption of a radio group
    FirstRadio,    // the first item of a group: starts the group, takes the Tab stop
    Radio,         // any other item of a group
    Label,         // static text, no focus
    CentredLabel,  // static text, centred
    ReadOnlyEdit,  // single-line edit box the user cannot change
    PasswordEdit,  // single-line edit box, limited and masked
    Button,        // push button
    ProgressBar,   // progress bar, no focus
};

struct ChildSpec {
    form::Id id = form::Id::WebBrowser1;
    ChildKind kind = ChildKind::Banner;
    form::Rect rect{};         // client pixels at 96 DPI
    std::string_view caption;  // UTF-8, before the first language switch
};

constexpr ChildKind ChildKindOf(form::Kind kind) noexcept {
    switch (kind) {
        case form::Kind::Banner:
            return ChildKind::Banner;
        case form::Kind::RadioGroup:
            return ChildKind::GroupBox;
        case form::Kind::Label:
            return ChildKind::Label;
        case form::Kind::CentredLabel:
            return ChildKind::CentredLabel;
        case form::Kind::ReadOnlyEdit:
            return ChildKind::ReadOnlyEdit;
        case form::Kind::PasswordEdit:
            return ChildKind::PasswordEdit;
        case form::Kind::Button:
            return ChildKind::Button;
        case form::Kind::ProgressBar:
            return ChildKind::ProgressBar;
    }
    return ChildKind::Label;
}

constexpr std::size_t ChildCount() noexcept {
    std::size_t count = 0;
    for (const form::Control& control : form::kControls) count += 1 + control.items.size();
    return count;
}

constexpr std::array<ChildSpec, ChildCount()> MakeChildWindows() noexcept {
    std::array<ChildSpec, ChildCount()> children{};
    std::size_t next = 0;
    for (const form::Control& control : form::kControls) {
        children[next++] = {control.id, ChildKindOf(control.kind), control.rect, control.caption};
        for (std::size_t i = 0; i < control.items.size(); ++i) {
            children[next++] = {
                control.items[i].id, i == 0 ? ChildKind::FirstRadio : ChildKind::Radio,
                form::RadioItemRect(control, static_cast<int>(i)), control.items[i].caption};
        }
    }
    return children;
}

// Every child window of the main window, in creation order.
inline constexpr std::array<ChildSpec, ChildCount()> kChildWindows = MakeChildWindows();

}  // namespace imgcrypt::winui
