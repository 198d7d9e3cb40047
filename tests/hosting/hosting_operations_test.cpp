#include "hosting/hosting_operations.h"

#include <gtest/gtest.h>

#include "hosting/form_poster.h"
#include "hosting/http_client.h"
#include "hosting/page_upload.h"
#include "store/hosting_folder_store.h"
#include "support/designer_fixture.h"
#include "support/server_process.h"
#include "support/temp_folder.h"

namespace {

constexpr const char* kStandIn = QUILLORA_TEST_DATA "/hosting/standin.py";

class HostingTest : public DesignerFixture {
  protected:
    explicit HostingTest(const char* mode = "normal", bool tls = false)
        : tls_(tls),
          server(kStandIn,
                 tls ? std::vector<std::string>{"--mode", mode, "--tls", certificates.path()}
                     : std::vector<std::string>{"--mode", mode}) {
        selectFolder(siteFolder());
        workspace().pages.select(workspace().pages.add("page.html"));
        page().directory = siteFolder();
        page().fileName = "page.html";
        page().pageTitle = "My page";
    }
    std::string base() const {
        return (tls_ ? "https" : "http") + std::string("://127.0.0.1:") +
               std::to_string(server.port()) + "/";
    }
    // Behind TLS the stand-in's own certificate is the extra CA file.
    std::string authority() const { return tls_ ? certificates / "server.pem" : std::string(); }
    HostingAddresses addresses() const {
        return HostingAddresses::UnderOneBase(base(), std::chrono::milliseconds(1500), authority());
    }
    // Registers the folder with the stand-in, as the user would.
    void registerFolder(const std::string& name) {
        prompts.folderNames.push_back(name);
        hosting.siteOptions();
    }
    std::string log() { return HttpGet(base() + "_log", kDefaultHttpTimeout, authority()); }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const ShownMessage& shown : prompts.shown) {
            texts.push_back(shown.caption + ": " + shown.text);
        }
        return texts;
    }

    bool tls_;
    TempFolder certificates;
    ServerProcess server;
    HostingOperations hosting{session, db, {browser, prompts, shell}, addresses()};
};

class TlsHostingTest : public HostingTest {
  protected:
    TlsHostingTest() : HostingTest("normal", true) {}
};

class FullHostingTest : public HostingTest {
  protected:
    FullHostingTest() : HostingTest("full") {}
};

// A stand-in that answers its posts in one way, and what the window says after an upload.
struct PostAnswer {
    const char* mode;
    const char* caption;
    const char* text;
};

class PostAnswerTest : public HostingTest, public ::testing::WithParamInterface<PostAnswer> {
  protected:
    PostAnswerTest() : HostingTest(GetParam().mode) {}
};

class SilentHostingTest : public HostingTest {
  protected:
    SilentHostingTest() : HostingTest("slow") {}
};

}  // namespace

TEST_F(HostingTest, AFolderIsRegisteredAfterTakenNamesAndStored) {
    ASSERT_GT(server.port(), 0);
    prompts.folderNames = {std::string("Taken"), std::string("My Site #1")};
    hosting.siteOptions();
    ASSERT_EQ(prompts.folderNamesShown.size(), 2u);
    EXPECT_EQ(prompts.folderNamesShown[0],
              "Enter a name for your folder @ Corvala:\n(spaces and reserved characters will be "
              "replaced) \n | ");
    EXPECT_EQ(prompts.folderNamesShown[1],
              "Could not register requested name \n(reason: folder name already exists) | Taken");
    const HostingFolder& folder = workspace().hosting;
    EXPECT_EQ(folder.folderName, "My-Site--1");
    EXPECT_EQ(folder.folderId, "1000");
    EXPECT_EQ(folder.scriptAddress, base() + "scripts/");
    EXPECT_EQ(folder.password.size(), 12u);
    EXPECT_EQ(messages(),
              std::vector<std::string>{"FOLDER CREATED SUCCESFULLY: Your new folder has "
                                       "been created.\n You can now upload files to "
                                       "Corvala."});
    const HostingFolder stored = LoadHostingFolder(db);
    EXPECT_EQ(stored.folderName, "My-Site--1");
    EXPECT_EQ(stored.password, folder.password);
    EXPECT_EQ(stored.scriptAddress, folder.scriptAddress);
    EXPECT_EQ(session.controls().folderLabel(), base() + "My-Site--1/page.html");
    EXPECT_EQ(browser.addresses.back(), working / "quillscreen.html");

    // Renamed: a taken name asks again; the new name is stored.
    prompts.folderActions = {FolderAction::ChangeName};
    prompts.folderNames = {std::string("Taken"), std::string("New name")};
    hosting.siteOptions();
    EXPECT_EQ(folder.folderName, "New-name");
    EXPECT_EQ(LoadHostingFolder(db).folderName, "New-name");
    EXPECT_EQ(prompts.shown.back().caption, "FOLDER CHANGED SUCCESFULLY");

    // Viewed online, except the quickstart page.
    prompts.folderActions = {FolderAction::ViewOnline, FolderAction::ViewOnline};
    hosting.siteOptions();
    EXPECT_EQ(shell.opened, std::vector<std::string>{base() + "New-name/page.html"});
    page().fileName = "quickstart.html";
    hosting.siteOptions();
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(prompts.shown.back().caption, "Uploading not permitted");
}

TEST_F(HostingTest, OddRepliesAndNamesAreHandledAsTheServletMeansThem) {
    prompts.folderNames = {std::string("")};
    hosting.siteOptions();
    EXPECT_EQ(messages().back(),
              "FOLDER REGISTRATION: Folder name was not registered.\n(name "
              "must be at least 1 character long)");
    EXPECT_FALSE(workspace().hosting.exists());
    // A reply without "|" holds no id: no folder was made.
    prompts.shown.clear();
    registerFolder("NoBar");
    EXPECT_EQ(messages(), std::vector<std::string>{"FOLDER REGISTRATION: The folder was not "
                                                   "registered: the service's answer holds no "
                                                   "folder id."});
    EXPECT_FALSE(workspace().hosting.exists());
    EXPECT_EQ(LoadHostingFolder(db).folderId, "");
    // Two passwords are never alike.
    EXPECT_NE(MakeFolderPassword(), MakeFolderPassword());
}

// Replies that are no answers, from a stand-in that gives each of them to every request.
TEST(HostingReplies, OnlyA2xxReplyInTimeAndInSizeIsAnAnswer) {
    TempFolder folder;
    WriteFile(folder / "page.html", "<html></html>");
    const Form form{folder / "page.html", "page.html", {{"PAGETITLE", "Home | Shop"}}};
    const struct {
        const char* mode;
        const char* postFailure;
    } cases[] = {{"notfound", "the server answered 404"},
                 {"moved", "the server answered 301"},
                 {"huge", nullptr},
                 {"trickle", nullptr}};
    for (const auto& c : cases) {
        ServerProcess server(kStandIn, {"--mode", c.mode});
        const std::string base = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(HttpGet(base + "quillservlet?REGISTERFOLDER|Mine|1", std::chrono::seconds(1)),
                  "N")
            << c.mode;
        // Four read time-outs at most, however steadily the bytes trickle.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8)) << c.mode;
        if (c.postFailure != nullptr) {
            const PostResult posted = FormPoster().postPageForm(base + "quillservlet", form);
            EXPECT_FALSE(posted.sent) << c.mode;
            EXPECT_EQ(posted.failure, c.postFailure) << c.mode;
        }
    }
}

TEST_F(SilentHostingTest, AServerThatNeverAnswersIsAConnectionFailure) {
    registerFolder("Mine");
    EXPECT_EQ(messages(), std::vector<std::string>{"Server Connection error:: Can't connect to "
                                                   "Corvala server:\nCheck internet connection."});
    EXPECT_FALSE(workspace().hosting.exists());
    EXPECT_EQ(hosting.renameFolder("Other"), "NO_CONNECT");
}

TEST_F(HostingTest, AnUploadSendsOnlyTheMissingPicturesAndThenThePage) {
    registerFolder("Pics");
    for (const char* picture : {"a.jpg", "ba.jpg", "c.gif", "unused.gif", "photo.jpg.bak"}) {
        WriteFile(working / ("site/" + std::string(picture)), picture);
    }
    page().pictures = {
        "pageimageitem1~" + working / "site/a.jpg", "pageimageitem2~" + working / "site/ba.jpg",
        "pageimageitem3~" + working / "site/c.gif", "pageimageitem4~" + working / "site/a.jpg"};
    page().links = {"", "", "", ""};
    handOver(
        "<div id='dpageimageitem1~' style='a'>^10^10|<div id='dpageimageitem2~' "
        "style='b'>^10^10|<div id='dpageimageitem3~' style='c'>^10^10|<div "
        "id='dpageimageitem4~' style='d'>^10^10");
    {
        // The stand-in takes c.gif first, as an earlier upload would have sent it.
        FormPoster poster;
        ASSERT_TRUE(poster
                        .postPictureForm(addresses().pictureUpload,
                                         {working / "site/c.gif",
                                          "page.html",
                                          {{"FOLDERID", workspace().hosting.folderId},
                                           {"PASSWORD", workspace().hosting.password}}})
                        .sent);
    }
    prompts.shown.clear();
    page().pageTitle = "Home | Shop";
    hosting.uploadPage();
    const std::string sent = log();
    EXPECT_NE(sent.find("SpecialFile:a.jpg"), std::string::npos) << sent;
    EXPECT_NE(sent.find("SpecialFile:ba.jpg"), std::string::npos) << sent;
    EXPECT_EQ(sent.find("SpecialFile:a.jpg", sent.find("SpecialFile:a.jpg") + 1), std::string::npos)
        << sent;
    // c.gif was put there by someone else: its content is unknown, so it goes once.
    const std::size_t other = sent.find("SpecialFile:c.gif");
    EXPECT_NE(sent.find("SpecialFile:c.gif", other + 1), std::string::npos) << sent;
    EXPECT_EQ(sent.find("SpecialFile:c.gif", sent.find("SpecialFile:c.gif", other + 1) + 1),
              std::string::npos)
        << sent;
    EXPECT_NE(sent.find("POST /quillservlet FILENAME=page.html POSTTYPE=SAVEWEBPAGE "
                        "FOLDERNAME=Pics PASSWORD=" +
                        workspace().hosting.password +
                        " PAGETITLE=Home | Shop submit=send uploadfile:uploadfile.html"),
              std::string::npos)
        << sent;
    const std::string uploaded = ReadFile(working / "uploadfile.html");
    const std::string script = workspace().hosting.scriptAddress +
                               "getimage.php?folderid=" + workspace().hosting.folderId +
                               "&filename=";
    EXPECT_NE(uploaded.find("SRC=\"" + script + "a.jpg\""), std::string::npos) << uploaded;
    EXPECT_NE(uploaded.find("SRC=\"" + script + "ba.jpg\""), std::string::npos) << uploaded;
    EXPECT_EQ(prompts.notices, (std::vector<bool>{true, false}));
    ASSERT_FALSE(prompts.shown.empty());
    EXPECT_EQ(prompts.shown[0].caption, "THIS IS THE REQUEST");
    EXPECT_EQ(prompts.shown.back().text, "Web page and image files uploaded successfully.");

    // Again: nothing but the page; then a picture changed in place, its size kept, goes again.
    const auto picturesSent = [&] {
        const std::string all = log();
        std::size_t count = 0;
        for (std::size_t at = all.find("SpecialFile:"); at != std::string::npos;
             at = all.find("SpecialFile:", at + 1)) {
            ++count;
        }
        return count;
    };
    const std::size_t before = picturesSent();
    hosting.uploadPage();
    EXPECT_EQ(picturesSent(), before);
    WriteFile(working / "site/a.jpg", std::string(ReadFile(working / "site/a.jpg").size(), 'z'));
    hosting.uploadPage();
    EXPECT_EQ(picturesSent(), before + 1);
    EXPECT_EQ(log().rfind("SpecialFile:a.jpg"), log().rfind("SpecialFile:"));
}

TEST(PageUploadRules, WholeReferencesAndUsedPictures) {
    EXPECT_EQ(ReplacePictureReferences("<img src=\"a.jpg\"><img src=\"ba.jpg\">url(a.jpg)", "a.jpg",
                                       "http://x/get?filename=a.jpg"),
              "<img src=\"http://x/get?filename=a.jpg\"><img src=\"ba.jpg\">"
              "url(http://x/get?filename=a.jpg)");
    EXPECT_EQ(ReplacePictureReferences("a.jpg.bak a.jpg", "a.jpg", "X"), "a.jpg.bak X");
    EXPECT_EQ(UsedPictures("a.jpg|b.gif|a.jpg|photo.jpg.bak", "a.jpg photo.jpg.bak"),
              (std::vector<std::string>{"a.jpg", "photo.jpg.bak"}));
    EXPECT_TRUE(UsedPictures("", "anything").empty());
    // A name the page wrote as an attribute value is found as written.
    EXPECT_EQ(UsedPictures("Tom & Jerry.gif|b.gif", "<IMG SRC=\"Tom &amp; Jerry.gif\">"),
              std::vector<std::string>{"Tom & Jerry.gif"});
}

TEST_F(HostingTest, UploadRefusalsAndAPageWithoutPictures) {
    hosting.uploadPage();
    EXPECT_EQ(messages(), std::vector<std::string>{
                              "No Corvala folder: Uploading is not yet possible.\nChoose a web "
                              "folder name."});
    registerFolder("Plain");
    page().fileName = "quickstart.html";
    prompts.shown.clear();
    hosting.uploadPage();
    EXPECT_EQ(messages(), std::vector<std::string>{"Uploading not permitted: The Quillora "
                                                   "Quickstart tutorial can't be uploaded."});
    page().fileName = "page.html";
    // Cancelled on the notice: the page is not sent and not called uploaded.
    prompts.shown.clear();
    prompts.cancelAtStep = 1;
    hosting.uploadPage();
    EXPECT_EQ(log().find("POST /quillservlet"), std::string::npos);
    EXPECT_EQ(prompts.shown.back().text, "The page page.html could not be uploaded: cancelled.");
    prompts.cancelAtStep = 0;
    hosting.uploadPage();
    EXPECT_EQ(log().find("SpecialFile"), std::string::npos);
    EXPECT_NE(log().find("POST /quillservlet FILENAME=page.html"), std::string::npos);
}

TEST_F(FullHostingTest, AFullFolderGetsNothing) {
    registerFolder("Full");
    prompts.shown.clear();
    hosting.uploadPage();
    EXPECT_EQ(prompts.shown.back().caption, "FILE UPLOAD INCOMPLETE");
    EXPECT_EQ(prompts.shown.back().text,
              "Maximum storage for folder exceeded.\nDelete old files for more space.");
    EXPECT_EQ(log().find("POST"), std::string::npos);
}

// A post is judged by its status, and then by the folder's own listings: whatever the service
// answers to a post it took, the upload is complete; a 200 that stored nothing is not.
TEST_P(PostAnswerTest, AnUploadIsCompleteOnlyWhenTheFolderHoldsWhatWasSent) {
    registerFolder("Answers");
    WriteFile(working / "site/a.jpg", "a picture");
    page().pictures = {"pageimageitem1~" + working / "site/a.jpg"};
    page().links = {""};
    handOver("<div id='dpageimageitem1~' style='a'>^10^10");
    prompts.shown.clear();
    hosting.uploadPage();
    EXPECT_EQ(prompts.shown.back().caption, GetParam().caption);
    EXPECT_EQ(prompts.shown.back().text, GetParam().text);
    for (const ShownMessage& shown : prompts.shown) {
        EXPECT_TRUE(shown.caption != "File Upload Complete" ||
                    std::string(GetParam().caption) == shown.caption);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ServiceAnswers, PostAnswerTest,
    ::testing::Values(
        PostAnswer{"normal", "File Upload Complete",
                   "Web page and image files uploaded successfully."},
        PostAnswer{"shouting", "File Upload Complete",
                   "Web page and image files uploaded successfully."},
        PostAnswer{"silent", "File Upload Complete",
                   "Web page and image files uploaded successfully."},
        PostAnswer{"unconfirmed", "FILE UPLOAD INCOMPLETE",
                   "The picture a.jpg was sent, but the hosting folder does not hold it."},
        PostAnswer{"refuse", "FILE UPLOAD INCOMPLETE",
                   "The picture a.jpg could not be uploaded: the server answered 500."}),
    [](const ::testing::TestParamInfo<PostAnswer>& answer) {
        return std::string(answer.param.mode);
    });

TEST_F(HostingTest, DeleteLinksAskTheDeleteScript) {
    hosting.deleteServerPages();
    EXPECT_EQ(messages(), std::vector<std::string>{"No Corvala folder: Online page delete is not "
                                                   "yet possible.\nNo pages have been uploaded."});
    registerFolder("Del");
    const HostingFolder& folder = workspace().hosting;
    prompts.shown.clear();
    prompts.serverFileClicks = {
        base() + "Del/page.html",
        base() + "quillservlet?FILEDELETE|Del|" + folder.password + "|my%20page.html",
        base() + "quillservlet?FILEDELETE|Del"};
    hosting.deleteServerPages();
    EXPECT_EQ(prompts.serverFilesShown,
              std::vector<std::string>{working / "connecting_message.html" + " " + base() +
                                       "quillservlet?FILELISTING|Del|" + folder.password});
    const std::string request = base() + "scripts/deleteimages.php?filename=";
    // The box shows the address with the folder's password masked.
    EXPECT_EQ(
        messages(),
        (std::vector<std::string>{
            "DELETE LINK:: " + request + "my%20page.html&password=****&folderid=" + folder.folderId,
            "DELETE LINK:: " + request + "&password=****&folderid=" + folder.folderId}));
    EXPECT_NE(log().find("GET /scripts/deleteimages.php?filename=my%20page.html&password=" +
                         folder.password),
              std::string::npos);
    // Registered, uploaded and deleted: the folder's password was in no message.
    hosting.uploadPage();
    for (const ShownMessage& shown : prompts.shown) {
        EXPECT_EQ(shown.text.find(folder.password), std::string::npos) << shown.text;
    }
}

TEST_F(TlsHostingTest, RegisterUploadAndDeleteGoThroughHttpsAndAWrongCertificateIsRefused) {
    registerFolder("Secure");
    ASSERT_TRUE(workspace().hosting.exists()) << (prompts.shown.empty() ? "" : messages().back());
    EXPECT_EQ(workspace().hosting.scriptAddress, base() + "scripts/");
    WriteFile(working / "site/sun.gif", "GIF89a sun");
    page().pictures = {"pageimageitem1~" + working / "site/sun.gif"};
    page().links = {""};
    handOver("<div id='dpageimageitem1~' style='a'>^10^10");
    prompts.shown.clear();
    hosting.uploadPage();
    EXPECT_EQ(prompts.shown.back().text, "Web page and image files uploaded successfully.");
    EXPECT_NE(log().find("SpecialFile:sun.gif"), std::string::npos);
    prompts.serverFileClicks = {base() + "quillservlet?FILEDELETE|Secure|" +
                                workspace().hosting.password + "|sun.gif"};
    hosting.deleteServerPages();
    EXPECT_NE(log().find("GET /scripts/deleteimages.php?filename=sun.gif"), std::string::npos);
    // Without the stand-in's certificate as the CA, nothing goes through.
    EXPECT_EQ(HttpGet(base() + "_log"), "N");
    EXPECT_FALSE(
        FormPoster()
            .postPageForm(base() + "quillservlet", {working / "site/sun.gif", "x.html", {}})
            .sent);
}

TEST_F(HostingTest, AFolderNameWithABarKeepsTheServletsFieldsInPlace) {
    registerFolder("Bar|Site");
    ASSERT_TRUE(workspace().hosting.exists()) << messages().front();
    EXPECT_EQ(workspace().hosting.folderName, "Bar|Site");
    EXPECT_EQ(hosting.renameFolder("New|Name"), "FOLDER CHANGED");
    EXPECT_NE(log().find("REGISTERFOLDER|Bar%7CSite|"), std::string::npos) << log();
}
