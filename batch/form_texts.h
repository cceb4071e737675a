// Which text of a language table each control and menu entry of the form
// shows: the one mapping both windows follow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/form_layout.h"
#include "batch/language_tables.h"

namespace imgcrypt {

struct Caption {
    form::Id id;
    std::string text;  // UTF-8
};

// Everything a language switch puts in place in the window. (The boxes' caption,
// the application title, is the logic's.)
struct FormTexts {
    // Every menu entry, button, label, radio group and radio item the table
    // has a text for; each once. The separator and the two language commands
    // keep their captions.
    std::vector<Caption> captions;
    std::string windowCaption;
};

// The texts of `table`; `aboutItem` is the About entry's whole caption
// (prefix + site name).
FormTexts FormTextsOf(const LanguageTable& table, std::string_view aboutItem);

}  // namespace imgcrypt
