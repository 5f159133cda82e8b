#include "cli/WebpAnimation.h"

#include "platform/FileError.h"

#include <memory>
#include <webp/encode.h>
#include <webp/mux.h>

namespace fenwold::cli {

namespace {

struct EncoderDeleter {
    void operator()(WebPAnimEncoder* encoder) const { WebPAnimEncoderDelete(encoder); }
};

struct PictureFree {
    void operator()(WebPPicture* picture) const { WebPPictureFree(picture); }
};

} // namespace

std::vector<std::uint8_t> EncodeAnimatedWebp(const std::vector<TimedPicture>& pictures, int width,
                                             int height, const std::filesystem::path& path) {
    const auto refuse = [&path](const std::string& why) {
        return FileError(path.string(), "the WebP encoder " + why);
    };
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options)) {
        throw refuse("does not match the library's version");
    }
    options.anim_params.loop_count = 0; // forever
    options.anim_params.bgcolor = 0;    // transparent
    const std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder(
        WebPAnimEncoderNew(width, height, &options));
    WebPConfig config;
    if (!encoder || !WebPConfigInit(&config)) {
        throw refuse("cannot start");
    }
    config.lossless = 1;
    config.exact = 0;
    int timestamp = 0;
    for (const TimedPicture& timed : pictures) {
        WebPPicture frame;
        if (!WebPPictureInit(&frame)) {
            throw refuse("cannot start");
        }
        const std::unique_ptr<WebPPicture, PictureFree> owner(&frame);
        frame.use_argb = 1;
        frame.width = timed.picture.width;
        frame.height = timed.picture.height;
        if (!WebPPictureImportRGBA(&frame, timed.picture.bytes.data(), 4 * timed.picture.width) ||
            !WebPAnimEncoderAdd(encoder.get(), &frame, timestamp, &config)) {
            throw refuse(std::string("failed: ") + WebPAnimEncoderGetError(encoder.get()));
        }
        timestamp += timed.milliseconds;
    }
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(encoder.get(), nullptr, timestamp, nullptr) ||
        !WebPAnimEncoderAssemble(encoder.get(), &data)) {
        throw refuse(std::string("failed: ") + WebPAnimEncoderGetError(encoder.get()));
    }
    std::vector<std::uint8_t> bytes(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    return bytes;
}

} // namespace fenwold::cli
