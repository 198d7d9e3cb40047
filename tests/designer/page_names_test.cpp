#include "page/page_names.h"

#include <gtest/gtest.h>

TEST(PageNames, CleanPageNameReplacesUnsafeCharactersOnly) {
    EXPECT_EQ(CleanPageName("my page (1)!.html"), "my page -1--.html");
    EXPECT_EQ(CleanPageName("?!~*%'&$#\"()"), "------------");
    EXPECT_EQ(CleanPageName("/home/u/site dir/a:b\\c.html"), "/home/u/site dir/a:b\\c.html");
    EXPECT_EQ(CleanPageName(""), "");
}

TEST(PageNames, CleanFolderNameAlsoReplacesSpacesAndSeparators) {
    EXPECT_EQ(CleanFolderName("my site/a\\b"), "my-site-a-b");
    EXPECT_EQ(CleanFolderName(" ?!~*%'\"/\\&$#"), "-------------");
    EXPECT_EQ(CleanFolderName("fine_name-1"), "fine_name-1");
    // Parentheses are allowed in folder names.
    EXPECT_EQ(CleanFolderName("(x)"), "(x)");
}

TEST(PageNames, ProblemCharactersInPictureNames) {
    EXPECT_TRUE(HasProblemCharacters("a:b.jpg"));
    EXPECT_TRUE(HasProblemCharacters("photo(1).gif"));
    EXPECT_FALSE(HasProblemCharacters("my-photo.jpg"));
    EXPECT_FALSE(HasProblemCharacters("with space~tilde*.jpg"));
    for (const char c : std::string("\"|&!?%$@()#`:;")) {
        EXPECT_TRUE(HasProblemCharacters(std::string("a") + c + "b.jpg")) << c;
    }
}
