#include "textedit/text_editor_state.h"

#include <gtest/gtest.h>

#include "textedit/rich_text.h"

TEST(TextEditorState, PropertiesRecordsSetTheBoxAndOnlyAMarkerFieldSetsTheAlignment) {
    TextEditorState state;
    state.applyTextProperties(
        "pagetextitem1~^#FFA500^backgrounds/sky.gif^#000080^3px^YESCENTERALIGN");
    EXPECT_EQ(state.backgroundColor, "#FFA500");
    EXPECT_EQ(state.backgroundImage, "backgrounds/sky.gif");
    EXPECT_EQ(state.borderColor, "#000080");
    EXPECT_EQ(state.borderWidth, "3px");
    EXPECT_EQ(state.shownAlignment(), TextEditorState::ShownAlignment::Centre);
    // Five fields: the box changes, the alignment of the previous section stays.
    state.applyTextProperties("pagetextitem2~^^^#FF0000^0px");
    EXPECT_EQ(state.backgroundColor, "");
    EXPECT_EQ(state.borderColor, "#FF0000");
    EXPECT_TRUE(state.centerAlign);
    state.applyTextProperties("ab");
    EXPECT_EQ(state.borderColor, "#FF0000");
    state.applyTextProperties("pagetextitem3~^^^^^YESTEXTJUSTIFY");
    EXPECT_EQ(state.shownAlignment(), TextEditorState::ShownAlignment::Justify);
    EXPECT_FALSE(state.centerAlign);
    state.chooseAlignment(TextEditorState::ShownAlignment::Right);
    EXPECT_TRUE(state.rightAlign);
    EXPECT_FALSE(state.justify);
}

TEST(TextEditorState, BackgroundColoursAreReadPairByPair) {
    const struct {
        const char* text;
        int red, green, blue;
    } cases[] = {{"#FFA500", 255, 165, 0}, {"", 0, 0, 0},          {"#ffa5", 255, 165, 0},
                 {"#0x1234", 0, 18, 52},   {"#1G2345", 1, 35, 69}, {"orange", 0, 0, 14}};
    for (const auto& colour : cases) {
        const BackgroundRgb rgb = BackgroundColourOf(colour.text);
        EXPECT_EQ(rgb.red, colour.red) << colour.text;
        EXPECT_EQ(rgb.green, colour.green) << colour.text;
        EXPECT_EQ(rgb.blue, colour.blue) << colour.text;
    }
}

TEST(TextEditorState, ListsPickFromTheSecondEntryOnAndKeepTheirSelectionOtherwise) {
    const std::vector<std::string> faces = {"Arial", "Courier", "Arial Black", "DejaVu Sans"};
    EXPECT_EQ(FindFromSecondEntry(faces, "arial"), 2u);
    EXPECT_EQ(FindFromSecondEntry(faces, "Courier"), 1u);
    EXPECT_EQ(FindFromSecondEntry({"Arial", "Times"}, "Arial"), 0u);
    EXPECT_FALSE(FindFromSecondEntry(faces, "Helvetica"));
    EXPECT_FALSE(FindFromSecondEntry({}, "Arial"));
    EXPECT_EQ(FindFromSecondEntry(BorderWidths(), "1px"), 1u);
    EXPECT_EQ(BorderWidths().size(), 21u);
    EXPECT_EQ(FontSizes().at(kStartSizeIndex), 12);
    EXPECT_EQ(SizeIndexOf(72), 15u);
    EXPECT_FALSE(SizeIndexOf(108));
}

TEST(TextEditorState, EffectsToggleOffOnlyWhereTheSelectionHasThemThroughout) {
    EXPECT_FALSE(EffectAfterToggle(true, false));
    EXPECT_TRUE(EffectAfterToggle(false, true));
    EXPECT_TRUE(EffectAfterToggle(false, false));
}

TEST(TextEditorState, FinishingASectionGivesItsHtmlAndRtf) {
    TextEditorState state;
    state.itemId = "pagetextitem3~";
    state.justify = true;
    RichText text("<b><i>Hello</i></b> world", CharFormat());
    FinishSection(text, state);
    EXPECT_EQ(
        state.htmlText.rfind("<font face='Arial' color='#000000'><SPAN id='pagetextitem3~", 0), 0u);
    EXPECT_NE(state.htmlText.find("<b>  <i>Hello</i>  </b>  world"), std::string::npos)
        << state.htmlText;
    EXPECT_EQ(state.htmlText.substr(state.htmlText.size() - 18), "</SPAN></font></p>");
    EXPECT_EQ(state.rtfText.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(state.rtfText.find("<b> <i>Hello</i> </b> world"), std::string::npos);
}
