// Camera photos prepared for the web, one after another and on every core at once, as the
// first save of a page of web pictures makes them. Prints the seconds for each way.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "files/web_pictures.h"
#include "support/camera_photo.h"
#include "support/temp_folder.h"

namespace {

double SecondsFor(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    constexpr int kPhotos = 20;
    constexpr int kCameraQuality = 85;
    TempFolder folder;
    std::vector<WebPictures::Request> requests;
    for (int i = 0; i < kPhotos; ++i) {
        const std::string photo = folder / ("IMG_" + std::to_string(1000 + i) + ".jpg");
        // Quality 85 of fine noise weighs what a camera's 12-megapixel photo weighs, about 7 MB;
        // at 92 the noise would weigh 20 MB, three times any camera's.
        if (!SaveCameraPhoto(photo, 4000, 3000, 100 + i, kCameraQuality)) {
            std::fprintf(stderr, "could not make %s\n", photo.c_str());
            return 1;
        }
        requests.push_back({photo, 400, 300});
    }
    const double oneByOne = SecondsFor([&] {
        WebPictures pictures(folder / "one-by-one");
        for (const WebPictures::Request& request : requests) {
            pictures.prepare(request.original, request.width, request.height);
        }
    });
    const double atOnce = SecondsFor([&] {
        WebPictures pictures(folder / "at-once");
        pictures.prepareAll(requests, nullptr);
    });
    std::printf("%d camera photos (4000 x 3000, %.1f MB each) prepared for a 400 x 300 place\n",
                kPhotos,
                static_cast<double>(std::filesystem::file_size(requests[0].original)) / 1e6);
    std::printf("  one after another: %.2f s\n", oneByOne);
    std::printf("  on every core:     %.2f s (%u cores)\n", atOnce,
                std::thread::hardware_concurrency());
    return 0;
}
