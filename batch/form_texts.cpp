#include "batch/form_texts.h"

#include <array>
#include <iterator>
#include <span>

namespace imgcrypt {

namespace {

using form::Id;

// Each radio item of the form has its text in the tables.
static_assert(std::size(form::kSuffixItems) ==
              std::tuple_size_v<decltype(LanguageTable::rgsuffixItems)>);
static_assert(std::size(form::kClassItems) ==
              std::tuple_size_v<decltype(LanguageTable::gbencClassItems)>);

// A radio group's item texts, in the order of the form's items.
void AddItems(std::vector<Caption>& captions, Id group, std::span<const std::string_view> texts) {
    const std::span<const form::RadioItem> items = form::ControlOf(group).items;
    for (std::size_t i = 0; i < items.size() && i < texts.size(); ++i) {
        captions.push_back({items[i].id, std::string(texts[i])});
    }
}

}  // namespace

FormTexts FormTextsOf(const LanguageTable& table, std::string_view aboutItem) {
    FormTexts texts;
    texts.captions = {
        {Id::N1, std::string(table.N1)},
        {Id::N2, std::string(table.N2)},
        {Id::N5, std::string(table.N5)},
        {Id::N6, std::string(table.N6)},
        {Id::N7, std::string(table.N7)},
        {Id::N8, std::string(table.N8)},
        {Id::N11, std::string(table.N11)},
        {Id::nabout, std::string(aboutItem)},
        {Id::mdonate, std::string(table.mdonate)},
        {Id::ndonate, std::string(table.ndonate)},
        {Id::btnopen, std::string(table.btnopen)},
        {Id::btnenc, std::string(table.btnenc)},
        {Id::btndec, std::string(table.btndec)},
        {Id::btncancel, std::string(table.btncancel)},
        {Id::lbopen, std::string(table.lbopen)},
        {Id::lbpassword, std::string(table.lbpassword)},
        {Id::lbpassnote, std::string(table.lbpassnote)},
        {Id::rgsuffix, std::string(table.rgsuffixCaption)},
        {Id::gbencClass, std::string(table.gbencClassCaption)},
    };
    AddItems(texts.captions, Id::rgsuffix, table.rgsuffixItems);
    AddItems(texts.captions, Id::gbencClass, table.gbencClassItems);
    texts.windowCaption = std::string(table.windowCaption);
    return texts;
}

}  // namespace imgcrypt
