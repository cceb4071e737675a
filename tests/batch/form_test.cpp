// The form both windows build, and the texts a language puts on it: faults
// that would show in both windows at once (a control Tab skips, an item
// outside its group's frame, a caption on the wrong control or none).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "batch/form_layout.h"
#include "batch/form_texts.h"

namespace imgcrypt {
namespace {

using form::Id;

TEST(Form, EveryIdIsOneControlRadioItemOrMenuEntryUnderItsOwnName) {
    std::map<Id, std::string> named;
    auto add = [&](Id id, std::string_view name) {
        EXPECT_TRUE(named.emplace(id, std::string(name)).second) << name << " twice";
    };
    for (const form::Control& control : form::kControls) {
        add(control.id, control.name);
        for (const form::RadioItem& item : control.items) add(item.id, item.name);
        EXPECT_EQ(control.kind == form::Kind::RadioGroup, !control.items.empty()) << control.name;
    }
    for (const form::MenuEntry& entry : form::kMenu) add(entry.id, entry.name);
    EXPECT_EQ(named.size(), static_cast<std::size_t>(form::kIdCount));
    std::set<std::string> names;
    for (const auto& [id, name] : named) EXPECT_TRUE(names.insert(name).second) << name;
}

TEST(Form, TabWalksTheControlsInTheFormsOrderAndLabelsNameTheBoxAfterThem) {
    std::vector<Id> stops;
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        const form::Control& control = form::kControls[i];
        const bool label =
            control.kind == form::Kind::Label || control.kind == form::Kind::CentredLabel;
        if (!label) stops.push_back(control.id);
        if (control.names) {
            // Right before the box it names: where screen readers look.
            EXPECT_TRUE(label) << control.name;
            ASSERT_LT(i + 1, form::kControls.size());
            EXPECT_EQ(form::kControls[i + 1].id, *control.names) << control.name;
        }
    }
    EXPECT_EQ(stops, (std::vector<Id>{Id::btnopen, Id::edtEnpass, Id::btnenc, Id::btndec,
                                      Id::edtdir, Id::WebBrowser1, Id::rgsuffix, Id::gbencClass,
                                      Id::ProgressBar1, Id::btncancel}));
}

TEST(Form, RadioItemsSitInsideTheirGroupBelowItsCaptionWithoutOverlapping) {
    for (const form::Control& group : form::kControls) {
        std::vector<form::Rect> placed;
        for (int i = 0; i < static_cast<int>(group.items.size()); ++i) {
            const form::Rect r = form::RadioItemRect(group, i);
            SCOPED_TRACE(std::string(group.items[static_cast<std::size_t>(i)].name));
            EXPECT_GT(r.left, group.rect.left);
            EXPECT_GE(r.top, group.rect.top + form::kFontPixels);
            EXPECT_LT(r.left + r.width, group.rect.left + group.rect.width);
            EXPECT_LE(r.top + r.height, group.rect.top + group.rect.height);
            for (const form::Rect& other : placed) {
                const bool apart = r.left >= other.left + other.width ||
                                   other.left >= r.left + r.width ||
                                   r.top >= other.top + other.height ||
                                   other.top >= r.top + r.height;
                EXPECT_TRUE(apart);
            }
            placed.push_back(r);
        }
    }
    // Item 0 and item 1 side by side, as the classic group puts them.
    const form::Rect first = form::RadioItemRect(form::ControlOf(Id::gbencClass), 0);
    const form::Rect second = form::RadioItemRect(form::ControlOf(Id::gbencClass), 1);
    EXPECT_EQ(first.top, second.top);
    EXPECT_LT(first.left, second.left);
}

TEST(Form, MenuEntriesHangFromEntriesOfTheBar) {
    for (const form::MenuEntry& entry : form::kMenu) {
        if (!entry.parent) continue;
        const auto parent = std::find_if(form::kMenu.begin(), form::kMenu.end(),
                                         [&](const auto& e) { return e.id == *entry.parent; });
        ASSERT_NE(parent, form::kMenu.end()) << entry.name;
        EXPECT_FALSE(parent->parent) << entry.name << ": one level of drop-downs";
    }
    EXPECT_FALSE(form::OpensDropDown(Id::mch));
    EXPECT_FALSE(form::OpensDropDown(Id::men));
    EXPECT_TRUE(form::OpensDropDown(Id::N1));
}

class Texts : public ::testing::TestWithParam<bool> {};

// Every captioned control and menu entry gets its text once; the separator,
// the two language commands and the boxes keep theirs.
TEST_P(Texts, ReachEveryCaptionedControlAndMenuEntryOnce) {
    const LanguageTable& table = LanguageTableFor(GetParam());
    const FormTexts texts = FormTextsOf(table, "About host");
    std::map<Id, std::string> byId;
    for (const Caption& caption : texts.captions) {
        EXPECT_TRUE(byId.emplace(caption.id, caption.text).second) << form::IndexOf(caption.id);
        EXPECT_FALSE(caption.text.empty()) << form::IndexOf(caption.id);
    }
    std::set<Id> expected;
    for (const form::Control& control : form::kControls) {
        if (!control.caption.empty()) expected.insert(control.id);
        for (const form::RadioItem& item : control.items) expected.insert(item.id);
    }
    for (const form::MenuEntry& entry : form::kMenu) expected.insert(entry.id);
    for (const Id untouched : {Id::N4, Id::mch, Id::men}) expected.erase(untouched);
    std::set<Id> got;
    for (const auto& [id, text] : byId) got.insert(id);
    EXPECT_EQ(got, expected);

    EXPECT_EQ(byId[Id::nabout], "About host");
    EXPECT_EQ(byId[Id::gbencClassItem0], table.gbencClassItems[0]);
    EXPECT_EQ(byId[Id::gbencClassItem1], table.gbencClassItems[1]);
    EXPECT_EQ(byId[Id::rgsuffixItem1], table.rgsuffixItems[1]);
    EXPECT_EQ(byId[Id::btnenc], table.btnenc);
    EXPECT_EQ(byId[Id::btndec], table.btndec);
    EXPECT_EQ(texts.windowCaption, table.windowCaption);
}

INSTANTIATE_TEST_SUITE_P(Languages, Texts, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "English" : "Chinese"; });

}  // namespace
}  // namespace imgcrypt
