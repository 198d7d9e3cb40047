// The Pages, History and Publish windows worked through their widgets, in the real main window.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

#include "files/folder_lock.h"
#include "items/deletedpages.h"
#include "items/newsite.h"
#include "items/pagehistory.h"
#include "items/pagelist.h"
#include "items/publishsite.h"
#include "items/sectionlibrary.h"
#include "items/sectionname.h"
#include "shell/qt_ports.h"
#include "support/server_process.h"
#include "support/ssh_server.h"
#include "window_fixture.h"

namespace {

class PagesWindowTest : public WindowFixture {
  protected:
    // Runs the action on the window of that type once it is shown and waits for input.
    template <typename Window>
    static void WhenShown(std::function<void(Window*)> action) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [poll, action] {
            if (auto* shown = qobject_cast<Window*>(QApplication::activeModalWidget())) {
                poll->stop();
                poll->deleteLater();
                action(shown);
            }
        });
        poll->start(50);
    }
    // Clicks the row as a user does.
    template <typename List, typename Item>
    static void ClickRow(List* list, Item* row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
    }

    PageRecord linkingPage(const std::string& name, const std::string& target) {
        PageRecord page = sitePage(name, "Title of " + name);
        page.stylesData =
            "<div id='pagetextitem1~' style='position:absolute;top:100px;left:50px;width:200px;"
            "visibility:visible'>";
        page.texts = {"pagetextitem1~<P><A HREF='" + target + "'>on</A></P>"};
        page.richTexts = {"{\\rtf1 on}"};
        page.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY"};
        page.elementCount = 1;
        return page;
    }

    QtPrompts realWindows;
};

}  // namespace

TEST_F(PagesWindowTest, APageOthersLinkToIsDeletedThenAnEarlierVersionIsRestored) {
    store(linkingPage("index.html", "news.html"), true);
    store(linkingPage("news.html", "index.html"));
    store(linkingPage("about.html", "news.html"));
    startWindow();
    ASSERT_TRUE(resume());
    realWindows.setOwner(window.get());
    prompts.realPageWindows = &realWindows;

    // news.html chosen in the list and deleted; the window comes back without it and is closed.
    int rowsAfter = -1;
    WhenShown<pagelist>([&](pagelist* pages) {
        auto* list = pages->findChild<QTreeWidget*>("pages");
        const QList<QTreeWidgetItem*> news = list->findItems("news.html", Qt::MatchExactly, 1);
        ASSERT_EQ(news.size(), 1);
        ClickRow(list, news[0]);
        WhenShown<pagelist>([&](pagelist* again) {
            rowsAfter = again->findChild<QTreeWidget*>("pages")->topLevelItemCount();
            QTest::keyClick(again, Qt::Key_Escape);
        });
        QTest::mouseClick(pages->findChild<QPushButton*>("deleteButton"), Qt::LeftButton);
    });
    prompts.answers = {MessageAnswer::Yes};
    menuEntry("Pages...").trigger();
    EXPECT_EQ(rowsAfter, 2);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_NE(prompts.shown[0].text.find("will lead nowhere: index.html and about.html"),
              std::string::npos)
        << prompts.shown[0].text;
    EXPECT_FALSE(std::filesystem::exists(path("webpages/news.html")));
    EXPECT_TRUE(stored("select ID from quillprojects where FILENAME = 'news.html'").empty());
    EXPECT_TRUE(menuEntry("Undo delete page").isEnabled());

    // Brought back from the deleted pages, through their window.
    QString deletedListed;
    WhenShown<pagelist>([&](pagelist* pages) {
        WhenShown<deletedpages>([&](deletedpages* deleted) {
            auto* list = deleted->findChild<QTreeWidget*>("deleted");
            deletedListed = list->topLevelItem(0)->text(1);
            ClickRow(list, list->topLevelItem(0));
            WhenShown<pagelist>([&](pagelist* again) { QTest::keyClick(again, Qt::Key_Escape); });
            QTest::mouseClick(deleted->findChild<QPushButton*>("restoreButton"), Qt::LeftButton);
        });
        QTest::mouseClick(pages->findChild<QPushButton*>("deletedButton"), Qt::LeftButton);
    });
    menuEntry("Pages...").trigger();
    EXPECT_EQ(deletedListed, "news.html");
    EXPECT_TRUE(std::filesystem::exists(path("webpages/news.html")));
    EXPECT_FALSE(stored("select ID from quillprojects where FILENAME = 'news.html'").empty());
    prompts.shown.clear();

    // A drag saved, then the version before it restored from the History window; one undo
    // brings the drag back.
    ASSERT_TRUE(editorShown());
    const QString section = QStringLiteral("div[id='pagetextitem1~']");
    const QString before = spot(section);
    drag(centreOf(section), QPointF(120, 40));
    const QString dragged = spot(section);
    ASSERT_NE(dragged, before);
    save("webpages/index.html");
    int versionsShown = 0;
    WhenShown<pagehistory>([&](pagehistory* history) {
        auto* list = history->findChild<QListWidget*>("versions");
        versionsShown = list->count();
        ASSERT_GE(versionsShown, 2);
        ClickRow(list, list->item(versionsShown - 1));
        QTest::mouseClick(history->findChild<QPushButton*>("restoreButton"), Qt::LeftButton);
    });
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("History...").trigger(); }));
    ASSERT_TRUE(editorShown());
    EXPECT_GE(versionsShown, 2);
    EXPECT_FALSE(prompts.versionsListed.front().picture.empty());
    EXPECT_EQ(spot(section), before);
    window->browser()->focusProxy()->setFocus();
    ASSERT_TRUE(undoneAfter([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(spot(section), dragged);
}

TEST_F(PagesWindowTest, ASiteExportedFromTheWindowIsImportedIntoAnotherFolderAndShown) {
    store(linkingPage("index.html", "news.html"), true);
    store(linkingPage("news.html", "index.html"));
    startWindow();
    ASSERT_TRUE(resume());
    const std::string file = path("carried.qsite");
    prompts.fileNames = {file};
    menuEntry("Export Site...").trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information) << prompts.shown[0].text;
    ASSERT_TRUE(std::filesystem::exists(file));

    const std::string elsewhere = path("elsewhere");
    std::filesystem::create_directories(elsewhere);
    prompts.openFileNames = {file};
    prompts.chosenFolders = {elsewhere};
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("Import Site...").trigger(); }));
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text.rfind("2 pages and 0 pictures imported into " + elsewhere, 0),
              0u)
        << prompts.shown[1].text;
    EXPECT_EQ(window->findChild<QComboBox*>("folders")->currentText().toStdString(), elsewhere);
    EXPECT_EQ(window->findChild<QComboBox*>("pages")->count(), 2);
    EXPECT_NE(ReadFile(JoinPath(elsewhere, "news.html")).find("HREF='index.html'"),
              std::string::npos);

    // Into a folder with pages only when the user says so.
    prompts.openFileNames = {file};
    prompts.chosenFolders = {elsewhere};
    prompts.answers = {MessageAnswer::No};
    menuEntry("Import Site...").trigger();
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(prompts.shown[2].icon, MessageIcon::Warning);
    EXPECT_NE(prompts.shown[2].text.find("already has 2 pages"), std::string::npos);

    // Into the folder that is open, whose page was changed since: the imported design stays.
    const std::string widthStored = "SELECT PAGEWIDTH FROM quillprojects WHERE DIRECTORY='" +
                                    elsewhere + "' AND FILENAME='index.html'";
    const std::string exportedWidth = stored(widthStored);
    ASSERT_TRUE(controlsCommand(QStringLiteral("http://pagecontainer3")));
    prompts.openFileNames = {file};
    prompts.chosenFolders = {elsewhere};
    prompts.answers = {MessageAnswer::Yes};
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("Import Site...").trigger(); }));
    EXPECT_EQ(stored(widthStored), exportedWidth);
    EXPECT_EQ(window->session().workspace().page.pageWidth, exportedWidth);

    // A site file the desktop opens with the program is imported the same way.
    const std::string opened = path("opened");
    prompts.chosenFolders = {opened};
    ASSERT_TRUE(redrawnAfter([&] { window->importSiteFile(file); }));
    EXPECT_EQ(window->findChild<QComboBox*>("folders")->currentText().toStdString(), opened);
    EXPECT_TRUE(std::filesystem::exists(JoinPath(opened, "news.html")));
}

// A target typed into the real Publish window, added with Return and published with the button.
TEST_F(PagesWindowTest, ATargetTypedInThePublishWindowGetsTheSite) {
    store(linkingPage("index.html", "index.html"), true);
    // As the program does: the window holds its working folder while it runs.
    const std::optional<FolderLock> held = FolderLock::Take(working);
    ASSERT_TRUE(held);
    startWindow();
    ASSERT_TRUE(resume());
    realWindows.setOwner(window.get());
    prompts.realPageWindows = &realWindows;
    const std::string remote = path("remote.git");
    ASSERT_EQ(std::system(("git init -q --bare '" + remote + "'").c_str()), 0);
    WhenShown<publishsite>([&](publishsite* publish) {
        auto* target = publish->findChild<QLineEdit*>("target");
        target->setFocus();
        QTest::keyClicks(target,
                         QString::fromStdString("git+file://" + remote + " --branch pages"));
        QTest::keyClick(target, Qt::Key_Return);
        QTest::mouseClick(publish->findChild<QPushButton*>("publishButton"), Qt::LeftButton);
    });
    menuEntry("Publish...").trigger();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information) << prompts.shown[0].text;
    std::array<char, 256> listed{};
    std::unique_ptr<FILE, int (*)(FILE*)> files(
        popen(("git --git-dir='" + remote + "' ls-tree --name-only pages").c_str(), "r"), pclose);
    ASSERT_NE(std::fgets(listed.data(), listed.size(), files.get()), nullptr);
    EXPECT_EQ(std::string(listed.data()), "index.html\n");
}

// File > Publish... to a plain FTP server asks the uploader's question before anything of the
// login goes: No sends nothing, Yes publishes; Cancel on the notice midway stops the publish.
TEST_F(PagesWindowTest, APublishToAPlainFtpServerAsksFirstAndStopsWhenCancelled) {
    store(linkingPage("index.html", "index.html"), true);
    store(linkingPage("news.html", "index.html"));
    TempFolder served;
    const std::string log = served / "commands.log";
    ServerProcess server(QUILLORA_TEST_DATA "/transfer/ftpserver.py",
                         {"--home", served.path(), "--log", log, "--mode", "slow"});
    ASSERT_GT(server.port(), 0);
    startWindow();
    ASSERT_TRUE(resume());
    realWindows.setOwner(window.get());
    prompts.realPageWindows = &realWindows;
    const std::string target = "ftp://quill@127.0.0.1:" + std::to_string(server.port()) + "/";
    const auto publishWith = [&](const std::function<void(publishsite*)>& typed) {
        WhenShown<publishsite>([&](publishsite* publish) {
            typed(publish);
            QTest::mouseClick(publish->findChild<QPushButton*>("publishButton"), Qt::LeftButton);
        });
        menuEntry("Publish...").trigger();
    };
    // The first box says the typed password is kept nowhere (no keyring answers here).
    prompts.answers = {MessageAnswer::Ok, MessageAnswer::No};
    publishWith([&](publishsite* publish) {
        auto* field = publish->findChild<QLineEdit*>("target");
        field->setFocus();
        QTest::keyClicks(field, QString::fromStdString(target));
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(publish->findChild<QLineEdit*>("secret"), QStringLiteral("secret"));
    });
    ASSERT_GE(prompts.shown.size(), 2u);
    EXPECT_NE(prompts.shown[prompts.shown.size() - 2].text.find("offers no encryption"),
              std::string::npos)
        << prompts.shown[prompts.shown.size() - 2].text;
    EXPECT_EQ(ReadFile(log).find("USER"), std::string::npos) << ReadFile(log);
    EXPECT_FALSE(std::filesystem::exists(served / "index.html"));

    // Yes: the site goes, and Cancel on the notice while the first file moves stops it there.
    prompts.shown.clear();
    prompts.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    prompts.transferSteps = 0;
    prompts.cancelAtStep = 2;
    publishWith([&](publishsite* publish) {
        publish->findChild<QListWidget*>("targets")->setCurrentRow(0);
        QTest::keyClicks(publish->findChild<QLineEdit*>("secret"), QStringLiteral("secret"));
    });
    EXPECT_NE(ReadFile(log).find("USER quill"), std::string::npos) << ReadFile(log);
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().text.rfind("Not everything was published", 0), 0u)
        << prompts.shown.back().text;
}

// File > Publish... to an SFTP server this computer has never met shows its key's fingerprint
// and asks; Yes remembers the key and publishes.
TEST_F(PagesWindowTest, APublishToAnUnknownSshHostAsksWithTheFingerprintThenPublishes) {
    store(linkingPage("index.html", "index.html"), true);
    SshServer server;
    ASSERT_NE(server.port(), 0);
    const std::string site = server.ownedFolder("site");
    startWindow();
    ASSERT_TRUE(resume());
    realWindows.setOwner(window.get());
    prompts.realPageWindows = &realWindows;
    prompts.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    WhenShown<publishsite>([&](publishsite* publish) {
        auto* field = publish->findChild<QLineEdit*>("target");
        field->setFocus();
        QTest::keyClicks(field, QString::fromStdString("sftp://" + std::string(SshServer::kUser) +
                                                       "@" + server.address() + site));
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(publish->findChild<QLineEdit*>("secret"),
                         QString::fromLatin1(SshServer::kPassword));
        QTest::mouseClick(publish->findChild<QPushButton*>("publishButton"), Qt::LeftButton);
    });
    menuEntry("Publish...").trigger();
    ASSERT_EQ(prompts.shown.size(), 3u);
    EXPECT_NE(prompts.shown[1].text.find("is not among your known hosts"), std::string::npos)
        << prompts.shown[1].text;
    EXPECT_NE(prompts.shown[1].text.find("SHA256:"), std::string::npos);
    EXPECT_EQ(prompts.shown[2].text.rfind("Published to", 0), 0u) << prompts.shown[2].text;
    EXPECT_NE(ReadFile(JoinPath(home.path(), ".ssh/known_hosts")).find(server.knownHostsLine()),
              std::string::npos);
    EXPECT_NE(SshServer::ReadWhole(site + "/index.html").find("Title of index.html"),
              std::string::npos);
}

// File > New Site in the window: the real gallery lists the blank site and every starter with
// its picture; the café, chosen with the keys, is made into a new folder and opens on its home
// page, its words in the editor. Two of its items, framed with the mouse, are kept as a section
// through Edit > Save as Section...; the add menu of another page adds it from the library
// where the user clicked; one undo takes it away, and the saved page is without it.
TEST_F(PagesWindowTest, ANewSiteFromTheGalleryLendsASectionToAnotherPage) {
    startWindow();
    ASSERT_TRUE(resume());
    QtPrompts dialogs;
    dialogs.setOwner(window.get());
    prompts.realFileDialogs = &dialogs;
    const std::string made = path("corner-cafe");
    prompts.chosenFolders = {made};
    std::string offered;
    WhenShown<newsite>([&](newsite* gallery) {
        auto* grid = gallery->findChild<QListWidget*>("starters");
        offered = grid->item(0)->text().toStdString();
        for (int row = 1; row < grid->count(); ++row) {
            EXPECT_FALSE(grid->item(row)->icon().isNull());
            if (grid->item(row)->text().startsWith(QStringLiteral("Corner Café\n"))) {
                grid->setFocus();
                while (grid->currentRow() != row) {
                    QTest::keyClick(grid, Qt::Key_Right);
                }
            }
        }
        QTest::keyClick(grid, Qt::Key_Return);
    });
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("New Site...").trigger(); }));
    EXPECT_GE(prompts.startersOffered, 12u);
    EXPECT_EQ(offered, "Blank site\nAn empty page to start from");
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown.back().text.rfind("4 pages and 3 pictures imported into " + made, 0),
              0u)
        << prompts.shown.back().text;
    EXPECT_EQ(window->findChild<QComboBox*>("folders")->currentText().toStdString(), made);
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(window->session().workspace().page.fileName, "index.html");
    const auto shows = [&](const char* words) {
        return js("window.frames['editor'].document.body.innerText")
            .toString()
            .contains(QString::fromUtf8(words));
    };
    EXPECT_TRUE(shows("Fresh bread every morning"));

    const QStringList hero = spot(QStringLiteral("div[id='pagetextitem1~']")).split(',');
    ASSERT_EQ(hero.size(), 2);
    drag(place(8, hero[1].toDouble() - 8), QPointF(900, 40));
    EXPECT_EQ(js("window.frames['editor'].ddSelectionNames()").toString(),
              "pagetextitem1~pageimageitem2~");
    WhenShown<sectionname>([](sectionname* named) {
        auto* name = named->findChild<QLineEdit*>("sectionName");
        QTest::keyClicks(name, QStringLiteral("Welcome"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    menuEntry("Save as Section...").trigger();
    ASSERT_TRUE(
        WaitFor([&] { return std::filesystem::exists(path("sections/Welcome.qsection")); }));

    auto* pages = window->findChild<QComboBox*>("pages");
    ASSERT_TRUE(redrawnAfter([&] {
        pages->setCurrentIndex(pages->findText("menu.html"));
        emit pages->activated(pages->currentIndex());
    }));
    ASSERT_TRUE(editorShown());
    const std::size_t textsBefore = window->session().workspace().page.texts.size();
    EXPECT_FALSE(shows("Fresh bread every morning"));
    click(place(10, 300));
    std::size_t inLibrary = 0;
    WhenShown<sectionlibrary>([&](sectionlibrary* library) {
        auto* grid = library->findChild<QListWidget*>("sections");
        inLibrary = static_cast<std::size_t>(grid->count());
        EXPECT_EQ(grid->item(0)->text(), "Welcome");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
    });
    ASSERT_TRUE(redrawnAfter([&] { click(centreOf(QStringLiteral("#addsection"))); }));
    EXPECT_GE(inLibrary, 11u);
    ASSERT_TRUE(editorShown());
    EXPECT_TRUE(shows("Fresh bread every morning"));
    EXPECT_EQ(window->session().workspace().page.texts.size(), textsBefore + 1);
    EXPECT_EQ(js("window.frames['editor'].ddSelectionNames()").toString().count('~'), 2);

    QAction* undo = nullptr;
    for (QAction* action : window->findChildren<QAction*>()) {
        if (action->text().startsWith(QStringLiteral("Undo"))) {
            undo = action;
        }
    }
    ASSERT_NE(undo, nullptr);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "Undo add section");
    ASSERT_TRUE(redrawnAfter([&] { undo->trigger(); }));
    ASSERT_TRUE(editorShown());
    EXPECT_FALSE(shows("Fresh bread every morning"));
    EXPECT_EQ(window->session().workspace().page.texts.size(), textsBefore);
    save("corner-cafe/menu.html");
    EXPECT_EQ(ReadFile(JoinPath(made, "menu.html")).find("Fresh  bread"), std::string::npos);
    EXPECT_NE(ReadFile(JoinPath(made, "menu.html")).find("Our menu"), std::string::npos);
}
