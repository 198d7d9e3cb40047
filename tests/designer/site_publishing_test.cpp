#include "designer/pages/site_publishing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/password_vault.h"
#include "store/page_store.h"
#include "support/designer_fixture.h"
#include "support/server_process.h"

namespace {

class MemoryVault : public PasswordVault {
  public:
    bool available() override { return true; }
    bool store(const std::string& key, const std::string& password) override {
        kept[key] = password;
        return true;
    }
    std::optional<std::string> read(const std::string& key) override {
        const auto found = kept.find(key);
        return found == kept.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void forget(const std::string& key) override { kept.erase(key); }
    std::map<std::string, std::string> kept;
};

class SitePublishingTest : public DesignerFixture {
  protected:
    SitePublishingTest() {
        selectFolder(siteFolder());
        workspace().pages.select(workspace().pages.add("index.html"));
        page().directory = siteFolder();
        page().fileName = "index.html";
        page().texts = {"pagetextitem1~<P>home</P>"};
        handOver("<div id='pagetextitem1~' style='left:5px'>");
        EXPECT_TRUE(session.publisher().writePublishedPage());
        session.setPasswordVault(&vault);
        std::system(("git init -q --bare '" + working / "remote.git" + "'").c_str());
    }
    MemoryVault vault;
};

}  // namespace

TEST_F(SitePublishingTest, TheChosenTargetGetsTheSiteAndTheTargetsAndSecretsAreKept) {
    const std::string git = "git+file://" + working / "remote.git";
    const std::string bucket = "s3://site --s3-endpoint http://127.0.0.1:1";
    prompts.publishAnswers = {PublishRequest{{git, bucket}, 0, "a token"}};
    session.publishing().publish();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information) << prompts.shown[0].text;
    EXPECT_EQ(prompts.shown[0].text.rfind("Published to " + git + ".", 0), 0u);
    EXPECT_NE(prompts.shown[0].text.find("1 files committed"), std::string::npos);
    EXPECT_EQ(session.store().publishTargets().load(siteFolder()),
              (std::vector<std::string>{git, bucket}));
    EXPECT_EQ(vault.kept[PublishSecretName(git)], "a token");
    // Where the command line finds them too.
    EXPECT_EQ(vault.kept["git:file://" + working / "remote.git"], "a token");
    ASSERT_FALSE(prompts.waits.empty());
    EXPECT_EQ(prompts.waits.front(), "Publishing to " + git);
    EXPECT_EQ(prompts.waits.back(), "");

    // The window shows them again; a store that cannot be reached is a warning with the reason,
    // and the secret typed for it reaches the publish only.
    prompts.shown.clear();
    prompts.publishAnswers = {PublishRequest{{git, bucket}, 1, "KEY:SECRET"}};
    session.publishing().publish();
    EXPECT_EQ(prompts.targetsShown.back(), (std::vector<std::string>{git, bucket}));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Warning);
    EXPECT_NE(prompts.shown[0].text.find("cannot be reached"), std::string::npos)
        << prompts.shown[0].text;
    EXPECT_EQ(std::getenv("AWS_SECRET_ACCESS_KEY"), nullptr);
    EXPECT_EQ(vault.kept[PublishSecretName(bucket)], "KEY:SECRET");
    EXPECT_EQ(vault.kept["s3:http://127.0.0.1:1/site"], "KEY:SECRET");

    // To a bucket that answers, with the key pair typed once and then taken from the keyring.
    TempFolder objects;
    ServerProcess server(QUILLORA_TEST_DATA "/s3/s3server.py", {QUILLORA_S3RVER, objects.path()});
    const std::string answering =
        "s3://site/www --s3-endpoint http://127.0.0.1:" + std::to_string(server.port());
    for (const char* typed : {"S3RVER:S3RVER", ""}) {
        prompts.shown.clear();
        prompts.publishAnswers = {PublishRequest{{git, answering}, 1, typed}};
        session.publishing().publish();
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].icon, MessageIcon::Information) << prompts.shown[0].text;
    }
    EXPECT_NE(prompts.shown[0].text.find("0 files sent, 0 deleted"), std::string::npos)
        << prompts.shown[0].text;

    // Closed without publishing, the list is kept as left.
    prompts.shown.clear();
    prompts.publishAnswers = {PublishRequest{{bucket}, std::nullopt, ""}};
    session.publishing().publish();
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(session.store().publishTargets().load(siteFolder()),
              std::vector<std::string>{bucket});
}
