#include "files/content_hash.h"
#include "common/hex_text.h"

#include <openssl/evp.h>
#include <xxhash.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Feeds the file to the consumer piece by piece; false when it cannot be read whole.
template <typename Consumer>
bool ReadPieces(const std::string& path, Consumer&& consume) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return false;
    }
    std::vector<unsigned char> piece(1 << 20);
    for (;;) {
        const std::size_t read = std::fread(piece.data(), 1, piece.size(), file.get());
        if (read > 0) {
            consume(piece.data(), read);
        }
        if (read < piece.size()) {
            return std::ferror(file.get()) == 0;
        }
    }
}

}  // namespace

std::string ContentHashOfFile(const std::string& path) {
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(),
                                                                         XXH3_freeState);
    if (!state || XXH3_128bits_reset(state.get()) != XXH_OK) {
        return std::string();
    }
    if (!ReadPieces(path, [&](const unsigned char* data, std::size_t size) {
            XXH3_128bits_update(state.get(), data, size);
        })) {
        return std::string();
    }
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits_digest(state.get()));
    return HexText(canonical.digest, sizeof canonical.digest);
}

std::string ContentHashOfText(std::string_view text) {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(text.data(), text.size()));
    return HexText(canonical.digest, sizeof canonical.digest);
}

std::string Sha256OfFile(const std::string& path) {
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(),
                                                                          EVP_MD_CTX_free);
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        return std::string();
    }
    if (!ReadPieces(path, [&](const unsigned char* data, std::size_t size) {
            EVP_DigestUpdate(context.get(), data, size);
        })) {
        return std::string();
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_DigestFinal_ex(context.get(), digest, &size);
    return HexText(digest, size);
}

std::string Sha256OfText(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(text.data(), text.size(), digest, &size, EVP_sha256(), nullptr);
    return HexText(digest, size);
}

std::string Base64Of(std::string_view bytes) {
    std::string encoded(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(encoded.data()),
                                       reinterpret_cast<const unsigned char*>(bytes.data()),
                                       static_cast<int>(bytes.size()));
    encoded.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return encoded;
}
