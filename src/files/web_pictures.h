#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A picture made ready for visitors: copies at the size of its place (1x) and twice that (2x,
// for sharp screens), never larger than the original, in WebP and, at 2x, in the original's
// own kind for browsers without WebP. The copies stand upright as the camera meant and carry
// no metadata: no position, camera or owner.
struct PreparedPicture {
    // False when the original is used as it is: a moving GIF, or a file that would not read.
    bool prepared = false;
    std::string webp1x;
    // Empty when the original gives no more pixels than the 1x copy has.
    std::string webp2x;
    std::string fallback;
    // Why a picture was left as it is when the reason is the picture's (a kind a page does not
    // show, or too many pixels); empty otherwise.
    std::string refused;
};

// Pictures with more pixels than this are not decoded: a small file can unpack to gigabytes.
inline constexpr long long kMostPicturePixels = 60'000'000;

// A picture file's width and height in pixels, as it stands upright; nothing when it does not
// read as a JPEG, PNG, GIF, WebP or BMP picture (by its content, whatever its name) or has more
// than kMostPicturePixels. Only the file's header is read.
std::optional<std::pair<int, int>> PictureDimensions(const std::string& path);

// Prepares pictures into a cache folder, one folder per original's content and shown size, so
// that publishing unchanged pictures again does no picture work.
class WebPictures {
  public:
    explicit WebPictures(std::string cacheFolder);

    // The copies for a picture shown at width x height pixels.
    PreparedPicture prepare(const std::string& original, int width, int height);

    // One picture at the size of its place.
    struct Request {
        std::string original;
        int width = 0;
        int height = 0;
    };
    // Prepares them all into the cache at once, on as many threads as the machine has cores
    // (a camera photo takes a core a good part of a second). Every 50 ms while they are made,
    // and once at the end, progress hears how many of how many are done, on the calling
    // thread.
    void prepareAll(const std::vector<Request>& requests,
                    const std::function<void(std::size_t done, std::size_t total)>& progress);

    // How many pictures were made rather than found in the cache.
    int made() const { return made_; }

  private:
    // The original's content hash, read once however often the page places it (prepareAll,
    // then the walk that writes the page, each ask).
    std::string hashOf(const std::string& original);

    std::string cacheFolder_;
    std::mutex hashesLock_;
    std::map<std::string, std::string> hashes_;
    std::atomic<int> made_{0};
};
