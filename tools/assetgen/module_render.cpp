#include "tools/assetgen/module_render.h"

#include <xmp.h>

#include <stdexcept>

#include "formats/wav_writer.h"

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
    WavWriter writer(path);
    writer.Start(audio.rate);
    writer.Write(audio.samples.data(), static_cast<int>(audio.samples.size() / 2));
    if (!writer.Finish()) throw std::runtime_error("cannot write " + path);
}
