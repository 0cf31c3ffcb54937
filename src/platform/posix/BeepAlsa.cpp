// Beep through ALSA's default device: a sine tone of the given pitch and length.

#include <alsa/asoundlib.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "platform/Beep.h"

namespace kq {
namespace {

constexpr unsigned kRate = 22050;

// ALSA reports a missing sound card on stderr; for a beep, silence is the answer.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

class AlsaBeeper : public Beeper {
  public:
    void Beep(int frequencyHz, int durationMs) override {
        if (frequencyHz <= 0 || durationMs <= 0) {
            return;
        }
        snd_lib_error_set_handler(Quiet);
        // KQIFACE_BEEP_DEVICE names another ALSA device, e.g. a file for a test to measure.
        const char* device = std::getenv("KQIFACE_BEEP_DEVICE");
        snd_pcm_t* pcm = nullptr;
        if (snd_pcm_open(&pcm, device && *device ? device : "default", SND_PCM_STREAM_PLAYBACK, 0) <
            0) {
            return;  // no sound device: silence
        }
        if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate,
                               1, 100000) == 0) {
            const size_t frames =
                static_cast<size_t>(kRate) * static_cast<size_t>(durationMs) / 1000;
            std::vector<int16_t> samples(frames);
            for (size_t i = 0; i < frames; ++i) {
                const double t = static_cast<double>(i) / kRate;
                samples[i] = static_cast<int16_t>(
                    8000.0 * std::sin(2.0 * std::numbers::pi * frequencyHz * t));
            }
            snd_pcm_sframes_t written =
                snd_pcm_writei(pcm, samples.data(), static_cast<snd_pcm_uframes_t>(frames));
            if (written < 0) {
                snd_pcm_recover(pcm, static_cast<int>(written), 1);
            }
            snd_pcm_drain(pcm);
        }
        snd_pcm_close(pcm);
    }
};

}  // namespace

Beeper& SystemBeeper() {
    static AlsaBeeper beeper;
    return beeper;
}

}  // namespace kq
