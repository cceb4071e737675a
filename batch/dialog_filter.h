// The open dialog's filter as the logic keeps it, read once for both windows'
// dialogs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace imgcrypt {

struct FilterEntry {
    std::string description;
    std::vector<std::string> patterns;  // "*.JPG", ...; "*.*" means every file
};

// The entries of "description|patterns|description|patterns", patterns
// separated by ";" with blanks around them dropped; a description without
// its patterns field is left out.
std::vector<FilterEntry> FilterEntries(std::string_view filter);

// The entry, counted from 0, the dialog opens on for the logic's filter
// index, which counts from 1: anything outside 1..entries means the first
// entry (the logic's 0 and 4 both do), so no dialog's reading of an
// out-of-range index matters.
std::size_t OpeningFilterEntry(int filterIndex, std::size_t entries) noexcept;

}  // namespace imgcrypt
