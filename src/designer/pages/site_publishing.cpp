#include "designer/pages/site_publishing.h"

#include <atomic>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <streambuf>
#include <vector>

#include "common/fields.h"
#include "common/text_search.h"
#include "designer/pages/page_catalog.h"
#include "hosting/hosting_session.h"
#include "page/workspace.h"
#include "platform/password_vault.h"
#include "platform/prompts.h"
#include "publish/batch_publish.h"
#include "store/page_store.h"

namespace {

constexpr const char* kCaption = "Publish";
constexpr const char* kSecretKeptNowhere =
    "No keyring answers on this computer, so the password or token you typed is used for this "
    "publish only and kept nowhere: type it again next time.";

// Lines written to it are shown on the notice as they come; the notice's Cancel asks the
// publish to stop.
class NoticeLines : public std::streambuf {
  public:
    NoticeLines(Prompts& prompts, std::atomic<bool>& stop) : prompts_(prompts), stop_(stop) {}
    const std::vector<std::string>& lines() const { return lines_; }

  protected:
    int overflow(int c) override {
        if (c == '\n') {
            lines_.push_back(line_);
            prompts_.waitNotice(line_);
            line_.clear();
            if (!prompts_.transferGoesOn()) {
                stop_ = true;
            }
        } else if (c != EOF) {
            line_ += static_cast<char>(c);
        }
        return c;
    }

  private:
    Prompts& prompts_;
    std::atomic<bool>& stop_;
    std::string line_;
    std::vector<std::string> lines_;
};

// The environment the publish reads its secret from, set for the publish and given back after.
class SecretFor {
  public:
    SecretFor(const std::string& target, const std::string& secret) {
        if (secret.empty()) {
            return;
        }
        if (StartsWith(target, "git+")) {
            set("QUILLORA_GIT_TOKEN", secret);
        } else if (StartsWith(target, "s3://")) {
            const std::size_t colon = secret.find(':');
            set("AWS_ACCESS_KEY_ID", secret.substr(0, colon));
            set("AWS_SECRET_ACCESS_KEY",
                colon == std::string::npos ? std::string() : secret.substr(colon + 1));
        } else if (target != "hosting") {
            set("QUILLORA_FTP_PASSWORD", secret);
        }
    }
    ~SecretFor() {
        for (const auto& [name, value] : kept_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    SecretFor(const SecretFor&) = delete;
    SecretFor& operator=(const SecretFor&) = delete;

  private:
    void set(const char* name, const std::string& value) {
        const char* before = std::getenv(name);
        kept_.emplace_back(name,
                           before != nullptr ? std::optional<std::string>(before) : std::nullopt);
        setenv(name, value.c_str(), 1);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> kept_;
};

}  // namespace

std::string PublishSecretName(const std::string& target) {
    return "publish:" + target;
}

std::string CommandLineSecretName(const std::string& target) {
    std::vector<std::string> words;
    for (const std::string& word : SplitFields(target, " ")) {
        if (!word.empty()) {
            words.push_back(word);
        }
    }
    if (words.empty()) {
        return std::string();
    }
    if (StartsWith(words[0], "git+")) {
        return GitTokenKeyringName(words[0].substr(4));
    }
    if (StartsWith(words[0], "s3://")) {
        std::string endpoint;
        for (std::size_t i = 1; i + 1 < words.size(); ++i) {
            if (words[i] == "--s3-endpoint") {
                endpoint = words[i + 1];
            }
        }
        const std::string bucket = words[0].substr(5, words[0].find('/', 5) - 5);
        return BucketKeyringName(endpoint, bucket);
    }
    return std::string();
}

SitePublishing::SitePublishing(HostingSession& session, PageCatalog& catalog, Prompts& prompts)
    : session_(session), catalog_(catalog), prompts_(prompts) {}

void SitePublishing::publish() {
    Workspace& workspace = session_.workspace();
    const std::string folder = catalog_.siteFolderStored(prompts_);
    if (folder.empty()) {
        return;
    }
    PageStore& store = session_.store();
    const std::optional<PublishRequest> request =
        prompts_.publishSite(folder, store.publishTargets().load(folder));
    if (!request) {
        return;
    }
    store.publishTargets().save(folder, request->targets);
    if (!request->chosen || *request->chosen >= request->targets.size()) {
        return;
    }
    const std::string& target = request->targets[*request->chosen];
    PasswordVault* vault = session_.passwordVault();
    std::string secret = request->secret;
    if (!secret.empty() && (vault == nullptr || !vault->available())) {
        prompts_.messageBox(kSecretKeptNowhere, kCaption, MessageButtons::Ok,
                            MessageIcon::Information);
    }
    if (vault != nullptr && vault->available()) {
        if (!secret.empty()) {
            vault->store(PublishSecretName(target), secret);
            // Where quillora-publish looks for it too.
            if (const std::string name = CommandLineSecretName(target); !name.empty()) {
                vault->store(name, secret);
            }
        } else {
            secret = vault->read(PublishSecretName(target)).value_or(std::string());
        }
    }
    std::vector<std::string> arguments = {"--upload"};
    for (const std::string& word : SplitFields(target, " ")) {
        if (!word.empty()) {
            arguments.push_back(word);
        }
    }
    arguments.push_back(folder);
    std::atomic<bool> stop{false};
    NoticeLines lines(prompts_, stop);
    std::ostream err(&lines);
    std::ostringstream out;
    int status = 0;
    {
        const SecretFor environment(target, secret);
        prompts_.waitNotice("Publishing to " + target);
        status = RunBatchPublish(arguments, workspace.workingFolder, out, err, vault, &stop,
                                 FolderLocking::HeldByCaller, &prompts_);
        prompts_.waitNotice(std::string());
    }
    std::string told;
    const std::vector<std::string>& said = lines.lines();
    for (std::size_t i = said.size() > 12 ? said.size() - 12 : 0; i < said.size(); ++i) {
        told += "\n" + said[i];
    }
    prompts_.messageBox(
        (status == 0 ? "Published to " : "Not everything was published to ") + target + "." + told,
        kCaption, MessageButtons::Ok,
        status == 0 ? MessageIcon::Information : MessageIcon::Warning);
}
