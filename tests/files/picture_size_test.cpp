#include "files/picture_size.h"

#include <gtest/gtest.h>

#include "support/fake_ports.h"
#include "support/temp_folder.h"

TEST(PictureSize, EachFailureIsToldByItsStep) {
    TempFolder folder;
    WriteFile(folder / "empty.gif", "");
    WriteFile(folder / "text.gif", "not a picture");
    WriteFile(folder / "good.gif", "GIF 200 100");
    WriteFile(folder / "drawing.jpg", "<?xml version='1.0'?><svg width='9' height='9'/>");
    WriteFile(folder / "paper.png", "%PDF-1.4\n");
    WriteFile(folder / "huge.png", "GIF 10000 8000");
    FakePictureDecoder decoder;
    const std::string shown =
        ". Pages show JPEG, PNG, GIF, WebP and BMP pictures: save it as one "
        "of those and add that file.";
    const std::pair<std::string, std::string> failures[] = {
        {"missing.gif", "Could not read file"},
        {"empty.gif", "Could not lock memory for image"},
        {"text.gif", "Could not load image: text.gif is a text file" + shown},
        {"drawing.jpg", "Could not load image: drawing.jpg is an SVG drawing" + shown},
        {"paper.png", "Could not load image: paper.png is a PDF document" + shown},
    };
    for (const auto& [file, text] : failures) {
        FakePrompts prompts;
        EXPECT_FALSE(LoadPictureSize(folder / file, decoder, prompts)) << file;
        ASSERT_EQ(prompts.shown.size(), 1u) << file;
        EXPECT_EQ(prompts.shown[0].text, text);
        EXPECT_EQ(prompts.shown[0].buttons, MessageButtons::Ok);
    }
    FakePrompts prompts;
    const std::optional<PictureSize> size = LoadPictureSize(folder / "good.gif", decoder, prompts);
    ASSERT_TRUE(size);
    EXPECT_EQ(size->width, 200);
    EXPECT_EQ(size->height, 100);
    EXPECT_TRUE(prompts.shown.empty());

    // Past the pixels web copies are made of: taken, and its weight told.
    ASSERT_TRUE(LoadPictureSize(folder / "huge.png", decoder, prompts));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text.rfind("huge.png is 10000 x 8000 pixels, more than the 60 "
                                          "million",
                                          0),
              0u)
        << prompts.shown[0].text;
    EXPECT_NE(prompts.shown[0].text.find("downloads it whole, 1 KB."), std::string::npos);
}
