#include "designer/editor_page/controls_page.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

TEST(ControlsPage, ScriptTellsWidthAndGrid) {
    PageRecord page;
    EditorState editor;
    EXPECT_EQ(ControlsPage::ScriptText(page, editor),
              "var gridsetting = 0;\nvar gridstart = 0;\nfunction setForm()\n"
              "{document.form1.screensize.value = 'Full Screen';\n}");
    for (const char* width : {"700", "800", "900"}) {
        page.pageWidth = width;
        editor.gridSetting = "50";
        editor.gridStart = "25";
        EXPECT_EQ(ControlsPage::ScriptText(page, editor),
                  std::string("var gridsetting = 50;\nvar gridstart = 25;\nfunction setForm()\n"
                              "{document.form1.screensize.value = '") +
                      width + " pixels';\n}");
    }
}

TEST(ControlsPage, TemplateLinesAreJoinedWhateverTheirEnds) {
    TempFolder lf;
    TempFolder crlf;
    WriteFile(lf / "controls1.txt", "<HTML>\n<BODY onload='setForm()'>\n<TR>\n");
    WriteFile(crlf / "controls1.txt", "<HTML>\r\n<BODY onload='setForm()'>\r\n<TR>\r\n");
    ControlsPage(lf.path()).writePage();
    ControlsPage(crlf.path()).writePage();
    const std::string expected =
        "<HTML><BODY onload='setForm()'><TR></TR></FORM></TABLE></BODY></HTML>";
    EXPECT_EQ(ReadFile(lf / "controls.html"), expected);
    EXPECT_EQ(ReadFile(crlf / "controls.html"), expected);
}

TEST(ControlsPage, MissingTemplateLeavesOnlyTheClosingTags) {
    TempFolder working;
    ControlsPage controls(working.path());
    controls.setFolderLabel("[Click for a Corvala web folder]");
    controls.writePage();
    EXPECT_EQ(ReadFile(working / "controls.html"), "</TR></FORM></TABLE></BODY></HTML>");
    EXPECT_EQ(controls.folderLabel(), "[Click for a Corvala web folder]");
}

TEST(ControlsPageLabel, TheFolderLabelReachesThePageAsASafeScriptString) {
    TempFolder working;
    ControlsPage controls(working.path());
    controls.setFolderLabel("http://site/Bob's </script>\\folder/page.html");
    controls.writePage();
    EXPECT_EQ(ReadFile(working / "folderlabel.js"),
              "var folderlabel = 'http://site/Bob\\'s \\x3C/script>\\\\folder/page.html';\n"
              "var siteoptions = 'http://www.corvala.example/siteoptions';\n");
}
