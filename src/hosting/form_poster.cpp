#include "hosting/form_poster.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "hosting/http_transfer.h"

namespace {

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
    void operator()(curl_mime* mime) const { curl_mime_free(mime); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void AddField(curl_mime* mime, const std::string& name, const std::string& value) {
    curl_mimepart* part = curl_mime_addpart(mime);
    curl_mime_name(part, name.c_str());
    curl_mime_data(part, value.c_str(), value.size());
}

int StillGoing(void* goesOn, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return (*static_cast<const FormPoster::GoesOn*>(goesOn))() ? 0 : 1;
}

// The service's word that it took a page or a picture: any other answer, even with a 2xx
// status (a proxy's page, an error the script printed), took nothing.
constexpr const char* kPageSaved = "saved";
constexpr const char* kPictureUploaded = "uploaded";
constexpr std::size_t kLongestKeptAnswer = 4096;

// The beginning of the answer is kept, enough to find the service's word in it.
size_t KeepBody(char* data, size_t size, size_t count, void* target) {
    auto* body = static_cast<std::string*>(target);
    body->append(data, std::min(size * count,
                                kLongestKeptAnswer - std::min(body->size(), kLongestKeptAnswer)));
    return size * count;
}

std::string Trimmed(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t\r\n");
    const std::size_t end = text.find_last_not_of(" \t\r\n");
    return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

}  // namespace

PostResult FormPoster::postPageForm(const std::string& address, const Form& form) const {
    return post(address, form, {"uploadfile", "submit", kPageSaved});
}

PostResult FormPoster::postPictureForm(const std::string& address, const Form& form) const {
    return post(address, form, {"SpecialFile", "upload", kPictureUploaded});
}

PostResult FormPoster::post(const std::string& address, const Form& form, const Kind& kind) const {
    curl_global_init(CURL_GLOBAL_ALL);
    const std::unique_ptr<CURL, CurlDeleter> handle(curl_easy_init());
    if (!handle) {
        return {false, "the transfer could not be prepared"};
    }
    const std::unique_ptr<curl_mime, CurlDeleter> mime(curl_mime_init(handle.get()));
    curl_mimepart* file = curl_mime_addpart(mime.get());
    curl_mime_name(file, kind.filePart);
    if (curl_mime_filedata(file, form.filePath.c_str()) != CURLE_OK) {
        return {false, form.filePath + " cannot be read"};
    }
    AddField(mime.get(), "FILENAME", form.fileName);
    for (const auto& [name, value] : form.fields) {
        AddField(mime.get(), name, value);
    }
    AddField(mime.get(), kind.closingField, "send");
    // An empty Expect header: no waiting for a "100 Continue" the server may never send.
    const std::unique_ptr<curl_slist, CurlDeleter> headers(curl_slist_append(nullptr, "Expect:"));

    curl_easy_setopt(handle.get(), CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle.get(), CURLOPT_MIMEPOST, mime.get());
    std::string answer;
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, KeepBody);
    curl_easy_setopt(handle.get(), CURLOPT_WRITEDATA, &answer);
    SetTransferLimits(handle.get(), timeout_, certificateAuthority_);
    if (goesOn_) {
        curl_easy_setopt(handle.get(), CURLOPT_XFERINFOFUNCTION, StillGoing);
        curl_easy_setopt(handle.get(), CURLOPT_XFERINFODATA, &goesOn_);
        curl_easy_setopt(handle.get(), CURLOPT_NOPROGRESS, 0L);
    }
    const CURLcode result = curl_easy_perform(handle.get());
    if (result == CURLE_ABORTED_BY_CALLBACK) {
        return {false, "cancelled"};
    }
    if (result != CURLE_OK) {
        return {false, curl_easy_strerror(result)};
    }
    long status = 0;
    curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        return {false, "the server answered " + std::to_string(status)};
    }
    const std::string said = Trimmed(answer);
    if (said != kind.confirmation) {
        const std::string line = said.substr(0, std::min(said.find('\n'), std::size_t{80}));
        return {false, said.empty()
                           ? "the service gave no answer"
                           : "the service did not confirm it (it answered \"" + line + "\")"};
    }
    return {true, ""};
}
