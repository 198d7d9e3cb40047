#include "designer/interim_operations.h"

#include <gtest/gtest.h>

#include "page/workspace.h"
#include "support/fake_ports.h"

TEST(InterimOperations, KeepTheLayoutGiveTheClipboardBackAndSaySo) {
    Workspace workspace("/work");
    workspace.editor.clipboardCache = "user text";
    workspace.editor.layoutAnnounced = true;
    FakeClipboard clipboard;
    clipboard.content = "<div id='pagetextitem1~' style='a'>";
    FakePrompts prompts;
    InterimOperations operations(workspace, clipboard, prompts);

    operations.uploadPage();
    EXPECT_EQ(workspace.page.stylesData, "<div id='pagetextitem1~' style='a'>");
    EXPECT_EQ(clipboard.content, "user text");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text,
              "Uploading pages is not available in this version of Quillora yet.");
    EXPECT_FALSE(operations.acceptHostingAgreement());
    operations.deleteServerPages();
    EXPECT_EQ(clipboard.writes.size(), 1u);
}
