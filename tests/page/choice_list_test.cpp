#include "page/choice_list.h"

#include <gtest/gtest.h>

TEST(ChoiceList, ASortedListKeepsAlphabeticalOrderAndItsSelection) {
    ChoiceList folders(ChoiceList::Order::Sorted);
    folders.add("/home/b");
    folders.select(0);
    folders.add("/home/C");
    folders.add("/home/a");
    EXPECT_EQ(folders.entries(), (std::vector<std::string>{"/home/a", "/home/b", "/home/C"}));
    EXPECT_EQ(folders.selectedText(), "/home/b");
}

TEST(ChoiceList, AnUnsortedListKeepsTheOrderOfAdding) {
    ChoiceList pages(ChoiceList::Order::AsAdded);
    pages.add("z.html");
    pages.add("a.html");
    EXPECT_EQ(pages.entries(), (std::vector<std::string>{"z.html", "a.html"}));
    EXPECT_EQ(pages.selectedText(), "");
}

TEST(ChoiceList, SelectingByStartIgnoresCaseAndClearsOnNoMatch) {
    ChoiceList folders(ChoiceList::Order::Sorted);
    folders.add("/Home/Site");
    folders.add("/home/site2");
    EXPECT_TRUE(folders.selectStartingWith("/home/site"));
    EXPECT_EQ(folders.selectedText(), "/Home/Site");
    EXPECT_FALSE(folders.selectStartingWith("/elsewhere"));
    EXPECT_FALSE(folders.selectedIndex());
}
