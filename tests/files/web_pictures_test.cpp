#include "files/web_pictures.h"

#include <gtest/gtest.h>
#include <lcms2.h>
#include <vips/vips.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/text_file.h"
#include "support/temp_folder.h"

namespace {

struct Unref {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

// A picture of noise in three bands (four with transparency, each pixel wholly seen or not),
// frames stacked for a moving GIF.
Image Noise(int width, int height, int bands, int frames = 1) {
    std::array<VipsImage*, 4> planes{};
    for (int band = 0; band < bands; ++band) {
        VipsImage* noise = nullptr;
        VipsImage* bytes = nullptr;
        vips_gaussnoise(&noise, width, height * frames, "mean", 128.0, "sigma", 60.0, nullptr);
        if (band == 3) {
            VipsImage* seen = nullptr;
            vips_moreeq_const1(noise, &seen, 128.0, nullptr);
            g_object_unref(noise);
            noise = seen;
        }
        vips_cast_uchar(noise, &bytes, nullptr);
        g_object_unref(noise);
        planes[static_cast<std::size_t>(band)] = bytes;
    }
    VipsImage* joined = nullptr;
    vips_bandjoin(planes.data(), &joined, bands, nullptr);
    for (int band = 0; band < bands; ++band) {
        g_object_unref(planes[static_cast<std::size_t>(band)]);
    }
    if (frames > 1) {
        vips_image_set_int(joined, "page-height", height);
    }
    return Image(joined);
}

Image Open(const std::string& path) {
    return Image(vips_image_new_from_file(path.c_str(), nullptr));
}

std::string Size(const std::string& path) {
    const Image image = Open(path);
    return image ? std::to_string(vips_image_get_width(image.get())) + "x" +
                       std::to_string(vips_image_get_height(image.get()))
                 : "unreadable";
}

// What exiftool finds of the camera, the place and the owner in a file.
std::string Metadata(const std::string& path) {
    std::string found;
    std::unique_ptr<FILE, int (*)(FILE*)> exiftool(
        popen(("exiftool -s -s -EXIF:all -XMP:all -IPTC:all -GPS:all '" + path + "'").c_str(), "r"),
        pclose);
    std::array<char, 256> line{};
    while (exiftool && std::fgets(line.data(), line.size(), exiftool.get()) != nullptr) {
        found += line.data();
    }
    return found;
}

// A 24-bit BMP of one colour, as old paint programs write it.
std::string Bmp(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bytes = "BM";
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    put(54 + row * height, 4);
    put(0, 4);
    put(54, 4);
    for (const auto& [value, size] : std::initializer_list<std::pair<std::uint32_t, int>>{
             {40, 4},
             {static_cast<std::uint32_t>(width), 4},
             {static_cast<std::uint32_t>(height), 4},
             {1, 2},
             {24, 2},
             {0, 4},
             {static_cast<std::uint32_t>(row * height), 4},
             {2835, 4},
             {2835, 4},
             {0, 4},
             {0, 4}}) {
        put(value, size);
    }
    return bytes + std::string(static_cast<std::size_t>(row * height), '\x60');
}

// Display P3 as a matrix profile, the way phones tag their photos.
cmsHPROFILE DisplayP3() {
    cmsCIExyY white;
    cmsWhitePointFromTemp(&white, 6504);
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    cmsToneCurve* curve = cmsBuildGamma(nullptr, 2.2);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return profile;
}

class WebPicturesTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(VIPS_INIT("quillora-test"), 0); }

    TempFolder folder;
};

}  // namespace

TEST_F(WebPicturesTest, APhotoIsSizedForItsPlaceStandsUprightAndTellsNothingOfItsCamera) {
    // A camera's landscape frame held upright: orientation 6, and where it was taken.
    const std::string photo = folder / "IMG_0001.JPG";
    ASSERT_EQ(vips_jpegsave(Noise(400, 300, 3).get(), photo.c_str(), nullptr), 0);
    ASSERT_EQ(std::system(("exiftool -q -overwrite_original -n -Orientation=6 -Make=Camera "
                           "-Artist=Owner -GPSLatitude=48.8584 -GPSLatitudeRef=N "
                           "-GPSLongitude=2.2945 -GPSLongitudeRef=E '" +
                           photo + "'")
                              .c_str()),
              0);
    ASSERT_NE(Metadata(photo).find("GPSLatitude"), std::string::npos);

    WebPictures pictures(folder / "cache");
    const PreparedPicture prepared = pictures.prepare(photo, 150, 200);
    ASSERT_TRUE(prepared.prepared);
    EXPECT_EQ(Size(prepared.webp1x), "150x200");
    EXPECT_EQ(Size(prepared.webp2x), "300x400");
    EXPECT_EQ(Size(prepared.fallback), "300x400");
    EXPECT_EQ(prepared.fallback.substr(prepared.fallback.size() - 4), ".jpg");
    for (const std::string& copy : {prepared.webp1x, prepared.webp2x, prepared.fallback}) {
        EXPECT_EQ(Metadata(copy), "") << copy;
    }

    // Published again: found in the cache, no picture work.
    EXPECT_EQ(pictures.made(), 1);
    EXPECT_EQ(pictures.prepare(photo, 150, 200).fallback, prepared.fallback);
    EXPECT_EQ(pictures.made(), 1);
    // A place as large as the photo gets no copy larger than the photo.
    const PreparedPicture whole = pictures.prepare(photo, 300, 400);
    EXPECT_EQ(Size(whole.webp1x), "300x400");
    EXPECT_EQ(whole.webp2x, "");
    EXPECT_EQ(Size(whole.fallback), "300x400");
}

TEST_F(WebPicturesTest, TransparencyStaysLossFreeAndAMovingGifStaysAsItIs) {
    const std::string logo = folder / "logo.png";
    ASSERT_EQ(vips_pngsave(Noise(80, 60, 4).get(), logo.c_str(), nullptr), 0);
    const std::string moving = folder / "moving.gif";
    ASSERT_EQ(vips_gifsave(Noise(40, 30, 3, 3).get(), moving.c_str(), nullptr), 0);
    const std::string broken = folder / "broken.jpg";
    WriteFile(broken, "not a picture");

    WebPictures pictures(folder / "cache");
    const PreparedPicture prepared = pictures.prepare(logo, 80, 60);
    ASSERT_TRUE(prepared.prepared);
    EXPECT_EQ(prepared.fallback.substr(prepared.fallback.size() - 4), ".png");
    // Every pixel a visitor sees, and its transparency, as in the original.
    const Image webp = Open(prepared.webp1x);
    ASSERT_TRUE(webp);
    EXPECT_EQ(vips_image_get_bands(webp.get()), 4);
    VipsImage* original = nullptr;
    VipsImage* copy = nullptr;
    ASSERT_EQ(vips_premultiply(Open(logo).get(), &original, nullptr), 0);
    ASSERT_EQ(vips_premultiply(webp.get(), &copy, nullptr), 0);
    const Image originalSeen(original);
    const Image copySeen(copy);
    VipsImage* difference = nullptr;
    ASSERT_EQ(vips_subtract(original, copy, &difference, nullptr), 0);
    const Image differenceImage(difference);
    double largest = -1;
    double smallest = -1;
    vips_max(difference, &largest, nullptr);
    vips_min(difference, &smallest, nullptr);
    EXPECT_EQ(largest, 0);
    EXPECT_EQ(smallest, 0);

    EXPECT_FALSE(pictures.prepare(moving, 40, 30).prepared);
    EXPECT_FALSE(pictures.prepare(broken, 40, 30).prepared);
    EXPECT_FALSE(pictures.prepare(folder / "missing.jpg", 40, 30).prepared);
    EXPECT_EQ(pictures.made(), 1);
}

// Pictures come from anywhere: only the kinds a page shows are read, by their content whatever
// their name, and none with more pixels than a page could want; colours a profile gives stay.
TEST_F(WebPicturesTest, PicturesFromAnywhereAreReadSafelyAndKeepTheirColours) {
    ASSERT_TRUE(WriteTextFile(folder / "drawing.jpg",
                              "<svg xmlns='http://www.w3.org/2000/svg' width='9' height='9'>"
                              "<rect width='9' height='9'/></svg>"));
    ASSERT_TRUE(WriteTextFile(folder / "paper.jpg", "%PDF-1.4\n1 0 obj\n<<>>\nendobj\n"));
    VipsImage* black = nullptr;
    ASSERT_EQ(vips_black(&black, 10000, 7000, nullptr), 0);
    const Image huge(black);
    ASSERT_EQ(vips_pngsave(huge.get(), (folder / "huge.png").c_str(), "compression", 9, nullptr),
              0);
    ASSERT_TRUE(WriteTextFile(folder / "old.bmp", Bmp(40, 30)));
    const struct {
        const char* name;
        bool read;
        const char* refused;
    } pictures[] = {
        {"drawing.jpg", false, "it is no JPEG, PNG, GIF, WebP or BMP picture"},
        {"paper.jpg", false, "it is no JPEG, PNG, GIF, WebP or BMP picture"},
        {"huge.png", false, "it is 10000 x 7000 pixels, more than the 60 million"},
        {"old.bmp", true, ""},
    };
    WebPictures web(folder / "cache");
    for (const auto& picture : pictures) {
        const std::string path = folder / picture.name;
        EXPECT_EQ(PictureDimensions(path).has_value(), picture.read) << picture.name;
        const PreparedPicture prepared = web.prepare(path, 20, 15);
        EXPECT_EQ(prepared.prepared, picture.read) << picture.name;
        EXPECT_EQ(prepared.refused.rfind(picture.refused, 0), 0u) << prepared.refused;
    }

    // A photo in Display P3 keeps its colour in the sRGB copies.
    const std::uint8_t p3[3] = {40, 200, 40};
    VipsImage* plain = nullptr;
    VipsImage* flat = nullptr;
    ASSERT_EQ(vips_black(&plain, 32, 32, "bands", 3, nullptr), 0);
    const Image plainImage(plain);
    const double colour[3] = {40, 200, 40};
    ASSERT_EQ(vips_linear(plain, &flat, std::array<double, 3>{1, 1, 1}.data(), colour, 3, nullptr),
              0);
    VipsImage* bytes = nullptr;
    ASSERT_EQ(vips_cast_uchar(flat, &bytes, nullptr), 0);
    g_object_unref(flat);
    const Image tagged(bytes);
    cmsHPROFILE profile = DisplayP3();
    cmsUInt32Number length = 0;
    cmsSaveProfileToMem(profile, nullptr, &length);
    std::string icc(length, '\0');
    cmsSaveProfileToMem(profile, icc.data(), &length);
    vips_image_set_blob_copy(tagged.get(), VIPS_META_ICC_NAME, icc.data(), icc.size());
    const std::string photo = folder / "wide.jpg";
    ASSERT_EQ(vips_jpegsave(tagged.get(), photo.c_str(), "Q", 100, nullptr), 0);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform =
        cmsCreateTransform(profile, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC, 0);
    std::uint8_t expected[3] = {};
    cmsDoTransform(transform, p3, expected, 1);
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(profile);
    // Far enough apart that a copy whose profile was dropped unconverted cannot pass.
    ASSERT_GT(std::max({std::abs(expected[0] - p3[0]), std::abs(expected[1] - p3[1]),
                        std::abs(expected[2] - p3[2])}),
              12);

    const PreparedPicture prepared = web.prepare(photo, 16, 16);
    ASSERT_TRUE(prepared.prepared);
    const Image copy = Open(prepared.webp1x);
    ASSERT_TRUE(copy);
    double* pixel = nullptr;
    int bands = 0;
    ASSERT_EQ(vips_getpoint(copy.get(), &pixel, &bands, 8, 8, nullptr), 0);
    for (int band = 0; band < 3; ++band) {
        EXPECT_NEAR(pixel[band], expected[band], 6) << band;
    }
    g_free(pixel);
}

// A CMYK profile that reads inks as a screen would without one: each ink takes away its share
// of red, green or blue.
cmsInt32Number PlainInks(const cmsUInt16Number in[], cmsUInt16Number out[], void* toLab) {
    const double k = 1.0 - in[3] / 65535.0;
    const double rgb[3] = {(1.0 - in[0] / 65535.0) * k, (1.0 - in[1] / 65535.0) * k,
                           (1.0 - in[2] / 65535.0) * k};
    cmsCIELab lab;
    cmsDoTransform(static_cast<cmsHTRANSFORM>(toLab), rgb, &lab, 1);
    cmsFloat2LabEncoded(out, &lab);
    return TRUE;
}

std::string PlainCmykProfile() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE labProfile = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab = cmsCreateTransform(srgb, TYPE_RGB_DBL, labProfile, TYPE_Lab_DBL,
                                             INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipeline* toPcs = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage* table = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(table, PlainInks, toLab, 0);
    // Curves before and after the table, as a version 4 profile stores one.
    cmsPipelineInsertStage(toPcs, cmsAT_BEGIN, table);
    cmsPipelineInsertStage(toPcs, cmsAT_BEGIN, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(toPcs, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, toPcs);
    cmsPipelineFree(toPcs);
    cmsUInt32Number length = 0;
    cmsSaveProfileToMem(profile, nullptr, &length);
    std::string icc(length, '\0');
    cmsSaveProfileToMem(profile, icc.data(), &length);
    cmsCloseProfile(profile);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(labProfile);
    cmsCloseProfile(srgb);
    return icc;
}

// A print shop's CMYK photo keeps its colour in the sRGB copies, read through its own profile.
TEST_F(WebPicturesTest, ACmykPhotoKeepsTheColourOfItsOwnProfile) {
    VipsImage* plain = nullptr;
    VipsImage* flat = nullptr;
    ASSERT_EQ(vips_black(&plain, 32, 32, "bands", 4, nullptr), 0);
    const Image plainImage(plain);
    const double ink[4] = {0, 51, 214, 0};
    ASSERT_EQ(vips_linear(plain, &flat, std::array<double, 4>{1, 1, 1, 1}.data(), ink, 4, nullptr),
              0);
    VipsImage* bytes = nullptr;
    ASSERT_EQ(vips_cast_uchar(flat, &bytes, nullptr), 0);
    g_object_unref(flat);
    const Image photo(bytes);
    photo->Type = VIPS_INTERPRETATION_CMYK;
    const std::string icc = PlainCmykProfile();
    vips_image_set_blob_copy(photo.get(), VIPS_META_ICC_NAME, icc.data(), icc.size());
    const std::string path = folder / "print.jpg";
    ASSERT_EQ(vips_jpegsave(photo.get(), path.c_str(), "Q", 100, nullptr), 0);
    // What the profile itself says the inks show; far from what the standard CMYK profile would.
    cmsHPROFILE own = cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM shown =
        cmsCreateTransform(own, TYPE_CMYK_8, srgb, TYPE_RGB_8, INTENT_RELATIVE_COLORIMETRIC, 0);
    ASSERT_NE(shown, nullptr);
    const std::uint8_t inks[4] = {0, 51, 214, 0};
    std::uint8_t expected[3] = {};
    cmsDoTransform(shown, inks, expected, 1);
    cmsDeleteTransform(shown);
    cmsCloseProfile(srgb);
    cmsCloseProfile(own);
    EXPECT_NEAR(expected[1], 204, 4);
    EXPECT_NEAR(expected[2], 41, 4);
    WebPictures web(folder / "cache");
    const PreparedPicture prepared = web.prepare(path, 16, 16);
    ASSERT_TRUE(prepared.prepared) << prepared.refused;
    for (const std::string& made : {prepared.webp1x, prepared.fallback}) {
        const Image copy = Open(made);
        ASSERT_TRUE(copy) << made;
        double* pixel = nullptr;
        int bands = 0;
        ASSERT_EQ(vips_getpoint(copy.get(), &pixel, &bands, 8, 8, nullptr), 0);
        for (int band = 0; band < 3; ++band) {
            EXPECT_NEAR(pixel[band], expected[band], 5) << made << " " << band;
        }
        g_free(pixel);
    }
}

// Many photos are made at once, each once, and progress is heard on this thread to the end.
TEST_F(WebPicturesTest, ManyPhotosArePreparedAtOnceAndFoundAfterwards) {
    std::vector<WebPictures::Request> requests;
    for (int i = 0; i < 5; ++i) {
        const std::string photo = folder / ("photo" + std::to_string(i) + ".jpg");
        ASSERT_EQ(vips_jpegsave(Noise(300 + i, 200, 3).get(), photo.c_str(), nullptr), 0);
        requests.push_back({photo, 60, 40});
    }
    WebPictures pictures(folder / "cache");
    std::vector<std::pair<std::size_t, std::size_t>> heard;
    const std::thread::id caller = std::this_thread::get_id();
    pictures.prepareAll(requests, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        heard.emplace_back(done, total);
    });
    EXPECT_EQ(pictures.made(), 5);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), std::make_pair(std::size_t{5}, std::size_t{5}));
    for (const WebPictures::Request& request : requests) {
        EXPECT_TRUE(pictures.prepare(request.original, 60, 40).prepared) << request.original;
    }
    EXPECT_EQ(pictures.made(), 5);
}
