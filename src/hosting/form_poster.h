#pragma once

#include <chrono>
#include <string>

// What became of one post: whether the server took it, and if not, why.
struct PostResult {
    bool sent = false;
    std::string failure;
};

// Multipart form posts on libcurl. A form description is a text of fields joined by "|": a tag
// (not sent), the local file's full path, the word FILENAME, its value, then pairs of field
// name and value. The file part comes first, the closing field ("submit" or "upload" = "send")
// last. A post counts as sent only when the transfer worked and the server answered with a
// status below 400.
class FormPoster {
  public:
    explicit FormPoster(std::chrono::milliseconds timeout = std::chrono::seconds(30))
        : timeout_(timeout) {}

    // A page to the servlet: file part "uploadfile", closing field "submit".
    PostResult postPageForm(const std::string& address, const std::string& description) const;
    // A picture to the upload script: file part "SpecialFile", closing field "upload".
    PostResult postPictureForm(const std::string& address, const std::string& description) const;

  private:
    PostResult post(const std::string& address, const std::string& description,
                    const char* filePart, const char* closingField) const;

    std::chrono::milliseconds timeout_;
};
