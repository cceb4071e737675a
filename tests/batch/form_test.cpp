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

bool Apart(const form::Rect& a, const form::Rect& b) {
    return a.left >= b.left + b.width || b.left >= a.left + a.width || a.top >= b.top + b.height ||
           b.top >= a.top + a.height;
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
            for (const form::Rect& other : placed) EXPECT_TRUE(Apart(r, other));
            placed.push_back(r);
        }
    }
    // Item 0 and item 1 side by side, as the classic group puts them; the
    // sealed class on a row of its own under item 0, as wide as the row.
    const form::Control& classes = form::ControlOf(Id::gbencClass);
    const form::Rect first = form::RadioItemRect(classes, 0);
    const form::Rect second = form::RadioItemRect(classes, 1);
    const form::Rect third = form::RadioItemRect(classes, 2);
    EXPECT_EQ(first.top, second.top);
    EXPECT_LT(first.left, second.left);
    EXPECT_EQ(third.left, first.left);
    EXPECT_GE(third.top, first.top + first.height);
    EXPECT_EQ(third.left + third.width, second.left + second.width);
}

// The taller class group pushed everything below it down: nothing may sit
// on anything else, and the progress row stays below every other control.
TEST(Form, ControlsDoNotOverlapAndTheProgressRowIsBelowTheRest) {
    // The classic form's labels reach one pixel into the box beside them.
    auto trimmed = [](form::Rect r) { return form::Rect{r.left, r.top, r.width - 1, r.height}; };
    for (std::size_t i = 0; i < form::kControls.size(); ++i) {
        for (std::size_t j = i + 1; j < form::kControls.size(); ++j) {
            EXPECT_TRUE(Apart(trimmed(form::kControls[i].rect), trimmed(form::kControls[j].rect)))
                << form::kControls[i].name << " / " << form::kControls[j].name;
        }
    }
    int lowestAtRest = 0;
    int progressTop = form::kRestHeight;
    int progressBottom = 0;
    for (const form::Control& control : form::kControls) {
        const form::Rect& r = control.rect;
        const bool progressRow = control.id == Id::ProgressBar1 || control.id == Id::lbprogress ||
                                 control.id == Id::btncancel;
        if (progressRow) {
            progressTop = std::min(progressTop, r.top);
            progressBottom = std::max(progressBottom, r.top + r.height);
        } else {
            lowestAtRest = std::max(lowestAtRest, r.top + r.height);
        }
    }
    EXPECT_LT(lowestAtRest, progressTop);
    // What the run height adds holds the whole row.
    EXPECT_LE(progressBottom - progressTop, form::kRunHeight - form::kRestHeight);
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
    EXPECT_EQ(byId[Id::gbencClassItem2], table.gbencClassItems[2]);
    EXPECT_EQ(byId[Id::rgsuffixItem1], table.rgsuffixItems[1]);
    EXPECT_EQ(byId[Id::btnenc], table.btnenc);
    EXPECT_EQ(byId[Id::btndec], table.btndec);
    EXPECT_EQ(texts.windowCaption, table.windowCaption);
}

INSTANTIATE_TEST_SUITE_P(Languages, Texts, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "English" : "Chinese"; });

}  // namespace
}  // namespace imgcrypt
