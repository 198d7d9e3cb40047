#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// What became of one post: whether the server took it, and if not, why.
struct PostResult {
    bool sent = false;
    std::string failure;
};

// A form to post: the local file sent as the file part, the value of the FILENAME field, and
// then the other fields in order. Values are carried whole, "|" and all.
struct Form {
    std::string filePath;
    std::string fileName;
    std::vector<std::pair<std::string, std::string>> fields;
};

// Multipart form posts on libcurl. The file part comes first, then FILENAME and the fields,
// the closing field ("submit" or "upload" = "send") last. A post counts as sent when the
// transfer worked and the server answered with a 2xx status, whatever the body says (the service
// defines none); a redirect is not followed and counts as a failure with its status. Whether the
// service stored the file is for its own listings to tell. A post takes at most two minutes in
// all.
class FormPoster {
  public:
    // Asked while a post moves: false ends it (the user cancelled).
    using GoesOn = std::function<bool()>;

    // Certificates are checked against the system's store and the extra CA file when named.
    explicit FormPoster(std::chrono::milliseconds timeout = std::chrono::seconds(30),
                        GoesOn goesOn = GoesOn(), std::string certificateAuthority = std::string())
        : timeout_(timeout),
          goesOn_(std::move(goesOn)),
          certificateAuthority_(std::move(certificateAuthority)) {}

    // A page to the servlet: file part "uploadfile", closing field "submit".
    PostResult postPageForm(const std::string& address, const Form& form) const;
    // A picture to the upload script: file part "SpecialFile", closing field "upload".
    PostResult postPictureForm(const std::string& address, const Form& form) const;

  private:
    struct Kind {
        const char* filePart;
        const char* closingField;
    };
    PostResult post(const std::string& address, const Form& form, const Kind& kind) const;

    std::chrono::milliseconds timeout_;
    GoesOn goesOn_;
    std::string certificateAuthority_;
};
