#pragma once

#include <vips/vips.h>

#include <array>
#include <string>

// A photo as a camera takes it: three bands of fine detail (noise about the mean), so that the
// JPEG is as heavy as a real one of its size.
inline bool SaveCameraPhoto(const std::string& path, int width, int height, double mean = 128,
                            int quality = 92) {
    if (VIPS_INIT("quillora-test") != 0) {
        return false;
    }
    std::array<VipsImage*, 3> planes{};
    for (VipsImage*& plane : planes) {
        VipsImage* noise = nullptr;
        vips_gaussnoise(&noise, width, height, "mean", mean, "sigma", 50.0, nullptr);
        vips_cast_uchar(noise, &plane, nullptr);
        g_object_unref(noise);
    }
    VipsImage* photo = nullptr;
    vips_bandjoin(planes.data(), &photo, 3, nullptr);
    for (VipsImage* plane : planes) {
        g_object_unref(plane);
    }
    const bool saved = vips_jpegsave(photo, path.c_str(), "Q", quality, nullptr) == 0;
    g_object_unref(photo);
    return saved;
}
