// The hosting folder in the real window against the stand-in of the service: the folder label
// leads to the agreement, registration, renaming and viewing online; the controls bar uploads
// and deletes. The service's own windows on their own.
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QWebEngineView>

#include "hosting/agreement.h"
#include "hosting/filedelete.h"
#include "hosting/form_poster.h"
#include "hosting/http_client.h"
#include "hosting/siteaction.h"
#include "hosting/sitename.h"
#include "page/page_record.h"
#include "shell/qt_ports.h"
#include "store/hosting_folder_store.h"
#include "support/server_process.h"
#include "ui/picture_button.h"
#include "window_fixture.h"

namespace {

constexpr const char* kStandIn = QUILLORA_TEST_DATA "/hosting/standin.py";

class HostingWindowTest : public WindowFixture {
  protected:
    std::string base() const { return "http://127.0.0.1:" + std::to_string(server.port()) + "/"; }
    HostingAddresses addresses() const {
        return HostingAddresses::UnderOneBase(base(), std::chrono::seconds(5));
    }
    void startWithStandIn(Prompts& ports) {
        window = std::make_unique<MainView>(working, MainViewPorts{ports, shell}, addresses());
        window->resize(1200, 800);
        window->show();
        QObject::connect(window->browser()->page(), &QWebEnginePage::loadFinished,
                         [this](bool) { ++loads; });
    }
    // Clicks the folder label of the controls bar and waits for the page shown again.
    void clickFolderLabel() {
        js("window.frames['controls'].document.getElementById('folderlabel').click()");
    }
    std::string label() {
        return js("window.frames['controls'].document.getElementById('folderlabel').textContent")
            .toString()
            .toStdString();
    }
    std::string log() { return HttpGet(base() + "_log"); }
    // The stand-in's first folder, registered with one page in it.
    bool folderWithPage(const std::string& folder, const std::string& password,
                        const std::string& page) {
        if (HttpGet(base() + "quillservlet?REGISTERFOLDER|" + folder + "|" + password)
                .substr(0, 5) != "1000|") {
            return false;
        }
        WriteFile(path("page.html"), "<html></html>");
        return FormPoster()
            .postPageForm(
                base() + "quillservlet",
                {path("page.html"), page, {{"FOLDERNAME", folder}, {"PASSWORD", password}}})
            .sent;
    }

    // The store knows the stand-in's folder, as after a registration.
    void rememberFolder(const std::string& name, const std::string& password) {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        HostingFolder folder;
        folder.folderName = name;
        folder.password = password;
        folder.folderId = "1000";
        folder.scriptAddress = base() + "scripts/";
        SaveNewHostingFolder(db, folder);
    }

    ServerProcess server{kStandIn, {}};
};

}  // namespace

TEST_F(HostingWindowTest, AFolderIsMadeRenamedViewedUploadedToAndCleared) {
    ASSERT_GT(server.port(), 0);
    store(logoPage("site.html", 10, 10, 160, 60), true);
    startWithStandIn(prompts);
    ASSERT_TRUE(resume());
    EXPECT_EQ(label(), "[Click for a Corvala web folder]");

    prompts.agreementAccepted = true;
    prompts.folderNames = {std::string("My Site")};
    ASSERT_TRUE(redrawnAfter([&] { clickFolderLabel(); }));
    ASSERT_TRUE(editorShown());
    ASSERT_EQ(prompts.agreementsShown.size(), 1u);
    EXPECT_EQ(label(), base() + "My-Site/site.html");

    prompts.folderActions = {FolderAction::ChangeName};
    prompts.folderNames = {std::string("Renamed")};
    ASSERT_TRUE(redrawnAfter([&] { clickFolderLabel(); }));
    ASSERT_TRUE(editorShown());
    EXPECT_EQ(label(), base() + "Renamed/site.html");

    prompts.folderActions = {FolderAction::ViewOnline};
    clickFolderLabel();
    ASSERT_TRUE(WaitFor([&] { return !shell.opened.empty(); }));
    EXPECT_EQ(shell.opened[0], base() + "Renamed/site.html");

    // Uploaded twice: the picture goes once, the page each time.
    for (int upload = 0; upload < 2; ++upload) {
        prompts.shown.clear();
        js("window.frames['controls'].runCommand('http://uploadpage')");
        ASSERT_TRUE(WaitFor([&] {
            return !prompts.shown.empty() && prompts.shown.back().caption == "File Upload Complete";
        }));
    }
    const std::string sent = log();
    const std::size_t picture = sent.find("SpecialFile:quillora-logo.gif");
    EXPECT_NE(picture, std::string::npos) << sent;
    EXPECT_EQ(sent.find("SpecialFile:quillora-logo.gif", picture + 1), std::string::npos) << sent;
    EXPECT_NE(HttpGet(base() + "Renamed/site.html").find("getimage.php?folderid="),
              std::string::npos);

    // Deleted from the server through the listing's delete link.
    const std::string password = window->session().workspace().hosting.password;
    prompts.serverFileClicks = {base() + "quillservlet?FILEDELETE|Renamed|" + password +
                                "|site.html"};
    js("window.frames['controls'].plainCommand('http://deleteservpages')");
    ASSERT_TRUE(WaitFor([&] { return prompts.serverFilesShown.size() == 1; }));
    EXPECT_NE(log().find("GET /scripts/deleteimages.php?filename=site.html&password=" + password),
              std::string::npos);
    EXPECT_EQ(HttpGet(base() + "Renamed/site.html"), "not found");
}

// An upload from the window is judged by the service's status and its own listing, whatever
// words it answers a post with.
TEST_F(HostingWindowTest, AnUploadIsCompleteWhenTheFolderHoldsThePageWhateverThePostSays) {
    ASSERT_EQ(HttpGet(base() + "quillservlet?REGISTERFOLDER|Said|5").substr(0, 5), "1000|");
    rememberFolder("Said", "5");
    store(sitePage("site.html", "Online"), true);
    startWithStandIn(prompts);
    ASSERT_TRUE(resume());
    const struct {
        const char* mode;
        const char* caption;
        const char* said;
    } cases[] = {
        // Stored nothing: the first, while the folder holds no page yet.
        {"unconfirmed", "FILE UPLOAD INCOMPLETE",
         "was sent, but the hosting folder does not hold it"},
        {"normal", "File Upload Complete", ""},
        {"shouting", "File Upload Complete", ""},
        {"silent", "File Upload Complete", ""},
    };
    for (const auto& answer : cases) {
        ASSERT_EQ(HttpGet(base() + "_mode/" + answer.mode), answer.mode);
        prompts.shown.clear();
        js("window.frames['controls'].runCommand('http://uploadpage')");
        ASSERT_TRUE(WaitFor([&] {
            return !prompts.shown.empty() && prompts.shown.back().caption == answer.caption;
        })) << answer.mode;
        EXPECT_NE(prompts.shown.back().text.find(answer.said), std::string::npos)
            << answer.mode << ": " << prompts.shown.back().text;
    }
    EXPECT_NE(HttpGet(base() + "Said/site.html").find("Online"), std::string::npos);
}

TEST_F(HostingWindowTest, TheServiceWindowsShowTheirTextsAndAnswers) {
    agreement terms("Storage folders @ Corvala ...", nullptr);
    EXPECT_EQ(terms.windowTitle(), "Corvala Folder Agreement");
    EXPECT_TRUE(terms.findChild<QPlainTextEdit*>("terms")->isReadOnly());
    terms.findChild<PictureButton*>("accept")->click();
    EXPECT_EQ(terms.result(), QDialog::Accepted);

    siteName name("Enter a name", "typed before", nullptr);
    EXPECT_EQ(name.windowTitle(), "Corvala Folder Name");
    EXPECT_EQ(name.findChild<QLabel*>("prompt")->text(), "Enter a name");
    EXPECT_EQ(name.name(), "typed before");

    siteAction action(nullptr);
    EXPECT_EQ(action.windowTitle(), "Corvala Folder");
    EXPECT_TRUE(action.viewOnline());
    action.findChild<QRadioButton*>("rename")->click();
    EXPECT_FALSE(action.viewOnline());

    // The listing window shows the servlet's page and tells the links the user follows.
    ASSERT_TRUE(folderWithPage("Folder", "42", "my page.html"));
    std::vector<std::string> followed;
    filedelete listing(
        QUrl::fromLocalFile(QString::fromStdString(path("connecting_message.html"))),
        QUrl(QString::fromStdString(base() + "quillservlet?FILELISTING|Folder|42")),
        [&](const std::string& address) { followed.push_back(address); }, nullptr);
    listing.show();
    EXPECT_EQ(listing.windowTitle(), "Delete files from Corvala server");
    ASSERT_TRUE(WaitFor([&] { return listing.browser()->title() == "Folder Folder"; }));
    EXPECT_NE(followed.back().find("FILELISTING"), std::string::npos);
    listing.browser()->page()->runJavaScript("document.querySelector('a.delete').click()");
    ASSERT_TRUE(WaitFor([&] { return listing.browser()->title() == "Deleted"; }));
    EXPECT_EQ(followed.back(), base() + "quillservlet?FILEDELETE|Folder|42|my%20page.html");
}

// The delete window opened the way the user opens it, from the controls bar, with the
// program's own dialogs: the listing comes and a delete link goes through.
TEST_F(HostingWindowTest, TheDeleteWindowListsTheFolderWhenOpenedFromTheControls) {
    ASSERT_TRUE(folderWithPage("Shown", "77", "gone.html"));
    rememberFolder("Shown", "77");
    store(sitePage("site.html", "Online"), true);
    QtPrompts dialogs;
    startWithStandIn(dialogs);
    dialogs.setOwner(window.get());
    ASSERT_TRUE(resume());
    // The window is modal: what the user does in it happens while it is open.
    std::string title;
    bool deleted = false;
    std::function<void()> act = [&] {
        auto* listing = qobject_cast<filedelete*>(QApplication::activeModalWidget());
        if (listing == nullptr) {
            QTimer::singleShot(50, act);
            return;
        }
        WaitFor([&] { return listing->browser()->title() == "Folder Shown"; });
        title = listing->browser()->title().toStdString();
        // The delete link's address is shown in a box of its own; the file goes.
        QTimer boxWatch;
        QObject::connect(&boxWatch, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->accept();
            }
        });
        boxWatch.start(50);
        listing->browser()->page()->runJavaScript("document.querySelector('a.delete').click()");
        deleted = WaitFor([&] { return HttpGet(base() + "Shown/gone.html") == "not found"; });
        listing->findChild<PictureButton*>()->click();
    };
    QTimer::singleShot(0, act);
    js("setTimeout(function () { window.frames['controls'].plainCommand('http://deleteservpages') "
       "}, 0)");
    ASSERT_TRUE(WaitFor([&] { return !title.empty(); }));
    EXPECT_EQ(title, "Folder Shown");
    EXPECT_TRUE(deleted);
    ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
    // The designer's browser answers again.
    EXPECT_EQ(js("1 + 1").toInt(), 2);
}
