#include "files/picture_size.h"

#include <gtest/gtest.h>

#include "support/fake_ports.h"
#include "support/temp_folder.h"

TEST(PictureSize, EachFailureIsToldByItsStep) {
    TempFolder folder;
    WriteFile(folder / "empty.gif", "");
    WriteFile(folder / "text.gif", "not a picture");
    WriteFile(folder / "good.gif", "GIF 200 100");
    FakePictureDecoder decoder;
    const std::pair<std::string, std::string> failures[] = {
        {"missing.gif", "Could not read file"},
        {"empty.gif", "Could not lock memory for image"},
        {"text.gif", "Could not load image (hr failure)"},
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
}
