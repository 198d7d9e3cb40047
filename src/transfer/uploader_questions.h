#pragma once

#include <string>
#include <utility>

#include "transfer/server_login.h"

class Prompts;

// The uploader's answers to a login's questions: the user's, through message boxes.
class UploaderQuestions : public TrustQuestions {
  public:
    UploaderQuestions(Prompts& prompts, std::string server)
        : prompts_(prompts), server_(std::move(server)) {}

    bool trustCertificate(const PeerKey& key, bool changed) override;
    bool goOnUnencrypted() override;
    bool trustHostKey(const SshHostKey& key) override;
    void hostKeyNotKept() override;

  private:
    Prompts& prompts_;
    std::string server_;
};
