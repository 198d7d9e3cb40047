// Nothing lost in the real window: undo and redo from the keyboard, items moved with the arrow
// keys, and a program killed after a drag and a new section that gets them back.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QTextEdit>
#include <cstdio>
#include <filesystem>

#include "page/page_record.h"
#include "textedit/texteditor.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

extern char** environ;

namespace {

constexpr const char* kChildHome = "QUILLORA_CHILD_HOME";

class NothingLostTest : public WindowFixture {
  protected:
    void storeTextPage() { storeOneTextPage("keys.html", "Keys", "Keys", "800"); }
    std::string position() {
        return js("(function(){var s=window.frames['editor'].document.getElementById("
                  "'pagetextitem1~').style;return s.left+','+s.top;})()")
            .toString()
            .toStdString();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->browser()->focusProxy(), key, modifiers);
        QTest::qWait(100);
    }
};

}  // namespace

TEST_F(NothingLostTest, DragsUndoRedoAndArrowKeysMoveItems) {
    storeTextPage();
    startWindow();
    ASSERT_TRUE(resume());
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(100, 0));
    EXPECT_EQ(position(), "150px,100px");
    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(redrawnAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(position(), "50px,100px");
    ASSERT_TRUE(redrawnAfter([&] { press(Qt::Key_Y, Qt::ControlModifier); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(position(), "150px,100px");

    // A click selects the item (the edit options are left unanswered); the arrows move it.
    click(centreOf("div[id='pagetextitem1~']"));
    window->browser()->focusProxy()->setFocus();
    press(Qt::Key_Right);
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(position(), "151px,110px");
    press(Qt::Key_Escape);
    press(Qt::Key_Left);
    EXPECT_EQ(position(), "151px,110px");
    save("webpages/keys.html");
    EXPECT_NE(stored("select STYLESDATA from quillprojects where FILENAME = 'keys.html'")
                  .find("top: 110px; left: 151px;"),
              std::string::npos);
    EXPECT_TRUE(window->findChildren<QAction*>().size() > 0);
}

// Run in a process of its own by the test below, which kills it once its work is kept.
TEST_F(NothingLostTest, DISABLED_WorkThenWaitToBeKilled) {
    setenv("HOME", std::getenv(kChildHome), 1);
    working = DefaultWorkingFolder();
    storeTextPage();
    startWindow();
    ASSERT_TRUE(resume());
    drag(centreOf("div[id='pagetextitem1~']"), QPointF(100, 0));
    const QPointF where = place(300, 300);
    click(where);
    click(where + QPointF(56, 46));
    ASSERT_TRUE(WaitFor([&] { return window->textEditor() && window->textEditor()->isVisible(); }));
    QTest::keyClicks(window->textEditor()->editingArea(), "Written before the crash");
    ASSERT_TRUE(
        redrawnAfter([&] { window->textEditor()->findChild<PictureButton*>("done")->click(); }));
    ASSERT_TRUE(WaitFor(
        [&] {
            return ReadFile(path("recovery.qlr")).find("before the crash") != std::string::npos;
        },
        10000));
    std::printf("READY\n");
    std::fflush(stdout);
    WaitFor([] { return false; }, 120000);
}

TEST_F(NothingLostTest, AKilledProgramGivesItsWorkBackWhenTheUserWants) {
    for (const bool restore : {true, false}) {
        storeTextPage();
        std::filesystem::remove(path("recovery.qlr"));
        int output[2];
        ASSERT_EQ(pipe(output), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
        setenv(kChildHome, home.path().c_str(), 1);
        std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        std::string alsoDisabled = "--gtest_also_run_disabled_tests";
        std::string filter = "--gtest_filter=NothingLostTest.DISABLED_WorkThenWaitToBeKilled";
        char* argv[] = {self.data(), alsoDisabled.data(), filter.data(), nullptr};
        pid_t child = -1;
        ASSERT_EQ(posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(output[1]);
        std::FILE* lines = fdopen(output[0], "r");
        char line[256] = {};
        bool ready = false;
        while (!ready && std::fgets(line, sizeof line, lines) != nullptr) {
            ready = std::string(line) == "READY\n";
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::fclose(lines);
        ASSERT_TRUE(ready);
        ASSERT_TRUE(std::filesystem::exists(path("recovery.qlr")));

        prompts.shown.clear();
        prompts.answers = {restore ? MessageAnswer::Yes : MessageAnswer::No};
        startWindow();
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].text,
                  "Quillora closed unexpectedly. Restore the unsaved changes to keys.html?");
        EXPECT_FALSE(std::filesystem::exists(path("recovery.qlr")));
        const std::string layout =
            stored("select STYLESDATA from quillprojects where FILENAME = 'keys.html'");
        const std::string texts = stored(
            "select group_concat(TEXTDATA, '|') from pagetexts where PROJECTID = (select ID from "
            "quillprojects where FILENAME = 'keys.html')");
        if (restore) {
            EXPECT_NE(layout.find("left: 150px"), std::string::npos) << layout;
            EXPECT_NE(texts.find("crash"), std::string::npos) << texts;
            ASSERT_TRUE(resume());
            EXPECT_EQ(window->windowTitle(), "Keys");
        } else {
            EXPECT_NE(layout.find("left:50px"), std::string::npos) << layout;
            EXPECT_EQ(texts, "pagetextitem1~<P>Keys</P>");
        }
        window->close();
        window.reset();
    }
}
