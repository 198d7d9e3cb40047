#include "hosting/form_poster.h"

#include <curl/curl.h>

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

// The service defines no answer to a post: its body is read and let go.
size_t IgnoreBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

}  // namespace

PostResult FormPoster::postPageForm(const std::string& address, const Form& form) const {
    return post(address, form, {"uploadfile", "submit"});
}

PostResult FormPoster::postPictureForm(const std::string& address, const Form& form) const {
    return post(address, form, {"SpecialFile", "upload"});
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
    curl_easy_setopt(handle.get(), CURLOPT_WRITEFUNCTION, IgnoreBody);
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
    return {true, ""};
}
