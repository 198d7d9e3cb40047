#include "files/font_file.h"

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>
#include <woff2/decode.h>
#include <woff2/encode.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

template <typename T, void (*Free)(T*)>
struct Freed {
    void operator()(T* object) const { Free(object); }
};
using Blob = std::unique_ptr<hb_blob_t, Freed<hb_blob_t, hb_blob_destroy>>;
using Face = std::unique_ptr<hb_face_t, Freed<hb_face_t, hb_face_destroy>>;
using SubsetInput =
    std::unique_ptr<hb_subset_input_t, Freed<hb_subset_input_t, hb_subset_input_destroy>>;

// The face over the bytes, which must outlive it; its glyph count is 0 when it is no font.
Face FaceOf(std::string_view bytes, unsigned index) {
    const Blob blob(hb_blob_create(bytes.data(), static_cast<unsigned>(bytes.size()),
                                   HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    return Face(hb_face_create(blob.get(), index));
}

bool IsFont(hb_face_t* face) {
    return hb_face_get_glyph_count(face) > 0;
}

std::string NameOf(hb_face_t* face, hb_ot_name_id_t id) {
    // Without a language, the name in English where the font has one.
    const unsigned length = hb_ot_name_get_utf8(face, id, HB_LANGUAGE_INVALID, nullptr, nullptr);
    if (length == 0) {
        return std::string();
    }
    unsigned size = length + 1;
    std::string name(size, '\0');
    hb_ot_name_get_utf8(face, id, HB_LANGUAGE_INVALID, &size, name.data());
    name.resize(size);
    return name;
}

// Debian's WOFF2 encoder writes "Compressed N to M." on the standard error of whatever calls
// it, which is where quillora-publish tells its user what happened: it goes to /dev/null
// while the encoder runs.
class QuietStandardError {
  public:
    QuietStandardError() : saved_(dup(STDERR_FILENO)) {
        const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && nothing >= 0) {
            std::fflush(stderr);
            dup2(nothing, STDERR_FILENO);
        }
        if (nothing >= 0) {
            close(nothing);
        }
    }
    ~QuietStandardError() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

  private:
    int saved_;
};

}  // namespace

FontLicence LicenceOfFile(const std::string& path, unsigned index) {
    // Mapped, not read: the check runs over every face of this computer.
    const Blob blob(hb_blob_create_from_file_or_fail(path.c_str()));
    if (!blob) {
        return FontLicence::Unreadable;
    }
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob.get(), &length);
    return LicenceOf(std::string_view(data, length), index);
}

std::optional<std::string> FromWoff2(const std::string& woff2) {
    const auto* data = reinterpret_cast<const uint8_t*>(woff2.data());
    const std::size_t size = woff2::ComputeWOFF2FinalSize(data, woff2.size());
    if (size == 0) {
        return std::nullopt;
    }
    std::string font(size, '\0');
    if (!woff2::ConvertWOFF2ToTTF(reinterpret_cast<uint8_t*>(font.data()), font.size(), data,
                                  woff2.size())) {
        return std::nullopt;
    }
    return font;
}

FontLicence LicenceOf(std::string_view fontBytes, unsigned index) {
    const Face face = FaceOf(fontBytes, index);
    if (!IsFont(face.get())) {
        return FontLicence::Unreadable;
    }
    const Blob os2(hb_face_reference_table(face.get(), HB_TAG('O', 'S', '/', '2')));
    unsigned length = 0;
    const char* data = hb_blob_get_data(os2.get(), &length);
    // A font without the table says nothing against embedding.
    if (data == nullptr || length < 10) {
        return FontLicence::Embeddable;
    }
    const unsigned fsType =
        (static_cast<unsigned char>(data[8]) << 8) | static_cast<unsigned char>(data[9]);
    // Restricted (bit 1) counts unless a looser bit (preview and print, editable) is set too;
    // bitmap-only embedding (bit 9) would put no outlines in the page.
    const bool restricted = (fsType & 0x000E) == 0x0002;
    const bool bitmapsOnly = (fsType & 0x0200) != 0;
    return restricted || bitmapsOnly ? FontLicence::Restricted : FontLicence::Embeddable;
}

std::string FamilyNameOf(const std::string& fontBytes, unsigned index) {
    const Face face = FaceOf(fontBytes, index);
    if (!IsFont(face.get())) {
        return std::string();
    }
    std::string name = NameOf(face.get(), HB_OT_NAME_ID_TYPOGRAPHIC_FAMILY);
    return name.empty() ? NameOf(face.get(), HB_OT_NAME_ID_FONT_FAMILY) : name;
}

std::optional<std::string> SubsetAsWoff2(const std::string& fontBytes, unsigned index,
                                         const std::set<char32_t>& characters, FontWork* work) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const Face face = FaceOf(fontBytes, index);
    const SubsetInput input(hb_subset_input_create_or_fail());
    if (!IsFont(face.get()) || !input) {
        return std::nullopt;
    }
    hb_set_t* unicodes = hb_subset_input_unicode_set(input.get());
    for (const char32_t character : characters) {
        hb_set_add(unicodes, static_cast<hb_codepoint_t>(character));
    }
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_NO_HINTING);
    const Face subset(hb_subset_or_fail(face.get(), input.get()));
    if (!subset) {
        return std::nullopt;
    }
    const Blob blob(hb_face_reference_blob(subset.get()));
    unsigned length = 0;
    const char* data = hb_blob_get_data(blob.get(), &length);
    const auto subsetDone = Clock::now();
    if (data == nullptr || length == 0) {
        return std::nullopt;
    }
    const auto* font = reinterpret_cast<const uint8_t*>(data);
    std::size_t size = woff2::MaxWOFF2CompressedSize(font, length);
    std::string woff2(size, '\0');
    const QuietStandardError quiet;
    if (!woff2::ConvertTTFToWOFF2(font, length, reinterpret_cast<uint8_t*>(woff2.data()), &size)) {
        return std::nullopt;
    }
    woff2.resize(size);
    if (work != nullptr) {
        work->subsetting +=
            std::chrono::duration_cast<std::chrono::microseconds>(subsetDone - start);
        work->encoding +=
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - subsetDone);
    }
    return woff2;
}
