#include "files/web_pictures.h"

#include <gtest/gtest.h>
#include <vips/vips.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>

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
