#include "batch/dialog_filter.h"

#include <utility>

#include "runtime/text.h"

namespace imgcrypt {

namespace {

// The next field up to `separator`, taken off the front of `text`.
std::string_view TakeField(std::string_view& text, char separator) {
    const std::size_t end = text.find(separator);
    const std::string_view field = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return field;
}

}  // namespace

std::vector<FilterEntry> FilterEntries(std::string_view filter) {
    std::vector<std::string_view> fields;
    while (!filter.empty()) fields.push_back(TakeField(filter, '|'));
    std::vector<FilterEntry> entries;
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        FilterEntry entry{std::string(fields[i]), {}};
        std::string_view patterns = fields[i + 1];
        while (!patterns.empty()) {
            std::string pattern = TrimBlanks(TakeField(patterns, ';'));
            if (!pattern.empty()) entry.patterns.push_back(std::move(pattern));
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::size_t OpeningFilterEntry(int filterIndex, std::size_t entries) noexcept {
    return filterIndex >= 1 && static_cast<std::size_t>(filterIndex) <= entries
               ? static_cast<std::size_t>(filterIndex) - 1
               : 0;
}

}  // namespace imgcrypt
