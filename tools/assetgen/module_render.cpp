#include "tools/assetgen/module_render.h"

#include <xmp.h>

#include <stdexcept>

#include "tools/assetgen/tga_writer.h"

namespace {

class XmpContext {
public:
    XmpContext() : context(xmp_create_context()) {}
    ~XmpContext() {
        if (started) xmp_end_player(context);
        if (loaded) xmp_release_module(context);
        xmp_free_context(context);
    }
    XmpContext(const XmpContext&) = delete;
    XmpContext& operator=(const XmpContext&) = delete;

    xmp_context context;
    bool loaded = false;
    bool started = false;
};

void Append32(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void Append16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

}  // namespace

RenderedAudio RenderModule(const std::vector<uint8_t>& module, const RenderOptions& options) {
    XmpContext xmp;
    int result = xmp_load_module_from_memory(xmp.context, module.data(), static_cast<long>(module.size()));
    if (result < 0) throw std::runtime_error("libxmp cannot load the module: error " + std::to_string(-result));
    xmp.loaded = true;
    result = xmp_start_player(xmp.context, options.rate, 0);
    if (result < 0) throw std::runtime_error("libxmp cannot start the player: error " + std::to_string(-result));
    xmp.started = true;

    xmp_module_info info;
    xmp_get_module_info(xmp.context, &info);
    if (!options.soloChannels.empty()) {
        for (int channel = 0; channel < info.mod->chn; ++channel) xmp_channel_mute(xmp.context, channel, 1);
        for (int32_t channel : options.soloChannels) xmp_channel_mute(xmp.context, channel, 0);
    }
    xmp_frame_info frame;
    xmp_get_frame_info(xmp.context, &frame);
    int32_t lengthMs = options.maxMs > 0 ? options.maxMs : frame.total_time;

    RenderedAudio audio;
    audio.rate = options.rate;
    size_t frames = static_cast<size_t>(static_cast<int64_t>(lengthMs) * options.rate / 1000);
    audio.samples.assign(frames * 2, 0);
    constexpr size_t kChunkFrames = 4096;
    for (size_t done = 0; done < frames; done += kChunkFrames) {
        size_t count = std::min(kChunkFrames, frames - done);
        if (xmp_play_buffer(xmp.context, &audio.samples[done * 2], static_cast<int>(count * 4), 1) < 0) break;
    }
    return audio;
}

void WriteWav(const std::string& path, const RenderedAudio& audio) {
    std::vector<uint8_t> bytes;
    auto dataSize = static_cast<uint32_t>(audio.samples.size() * 2);
    bytes.insert(bytes.end(), {'R', 'I', 'F', 'F'});
    Append32(bytes, 36 + dataSize);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Append32(bytes, 16);
    Append16(bytes, 1);  // PCM
    Append16(bytes, 2);
    Append32(bytes, static_cast<uint32_t>(audio.rate));
    Append32(bytes, static_cast<uint32_t>(audio.rate) * 4);
    Append16(bytes, 4);
    Append16(bytes, 16);
    bytes.insert(bytes.end(), {'d', 'a', 't', 'a'});
    Append32(bytes, dataSize);
    for (int16_t sample : audio.samples) Append16(bytes, static_cast<uint16_t>(sample));
    WriteBinaryFile(path, bytes);
}
