// Mixing cost: one second of output with 16 voices of mixed formats and rates, looped, panned
// and attenuated, summed far over full scale so that the output's limiter works all the time;
// and the limiter alone on such a stream. The "percent_of_realtime" counter is the share of
// one second of real time that one second of output takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "platform/AudioMixer.h"
#include "platform/PeakLimiter.h"

namespace {

class BenchOutput final : public platform::AudioOutput {
public:
    bool Start(platform::AudioMixer&) override { return true; }
    void Stop() override {}
    bool Lost() override { return false; }
};

// Inverted rate: CPU seconds per (iterations / 100), i.e. per cent of each second of output.
void CountPercentOfRealtime(benchmark::State& state) {
    state.counters["percent_of_realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) / 100.0,
                                                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void MixOneSecond(benchmark::State& state) {
    constexpr int Voices = 16;
    constexpr std::size_t Frames = platform::AudioMixer::DefaultOutputRate;
    constexpr std::size_t Block = 1024;  // the size SDL asks for
    platform::AudioMixer mixer(std::make_unique<BenchOutput>());
    mixer.Open();

    std::vector<std::unique_ptr<platform::SoundBuffer>> buffers;
    for (int v = 0; v < Voices; ++v) {
        const auto channels = static_cast<std::uint16_t>(1 + v % 2);
        const auto bits = static_cast<std::uint16_t>(v % 4 < 2 ? 16 : 8);
        const std::uint32_t rate = v % 3 == 0 ? 22050 : (v % 3 == 1 ? 44100 : 11025);
        const auto align = static_cast<std::uint16_t>(channels * bits / 8);
        const platform::WaveFormat format{platform::WaveFormatPCM, channels, rate, rate * align, align, bits};
        platform::SoundResult result{};
        auto buffer = mixer.CreateBuffer(format, std::size_t{rate} * align / 2, result);
        std::span<std::uint8_t> bytes;
        buffer->Lock(bytes);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<std::uint8_t>(128 + 100 * std::sin(static_cast<double>(i) * std::numbers::pi / 37));
        }
        buffer->Unlock();
        buffer->SetPan(v * 1000 - 8000);
        buffer->SetVolume(-v * 100);
        buffer->SetFrequency(v % 5 == 0 ? 30000 : 0);
        buffer->Play(true);
        buffers.push_back(std::move(buffer));
    }

    std::vector<float> out(2 * Block);
    for (auto _ : state) {
        for (std::size_t done = 0; done < Frames; done += Block) {
            mixer.Render(out.data(), std::min(Block, Frames - done));
        }
        benchmark::DoNotOptimize(out.data());
    }
    CountPercentOfRealtime(state);
}
BENCHMARK(MixOneSecond)->Unit(benchmark::kMillisecond);

void LimitOneSecond(benchmark::State& state) {
    constexpr std::size_t Frames = platform::AudioMixer::DefaultOutputRate;
    constexpr std::size_t Block = 1024;
    platform::PeakLimiter limiter(platform::AudioMixer::DefaultOutputRate);
    std::vector<float> loud(2 * Frames);
    for (std::size_t i = 0; i < loud.size(); ++i) {
        const auto at = static_cast<double>(i);
        loud[i] = static_cast<float>(3.0 * std::sin(at * 0.0123) * std::sin(at * 0.0007));
    }
    std::vector<float> out(2 * Block);
    for (auto _ : state) {
        for (std::size_t done = 0; done < Frames; done += Block) {
            const std::size_t frames = std::min(Block, Frames - done);
            std::copy_n(loud.begin() + static_cast<std::ptrdiff_t>(2 * done), 2 * frames, out.begin());
            limiter.Process(out.data(), frames);
        }
        benchmark::DoNotOptimize(out.data());
    }
    CountPercentOfRealtime(state);
}
BENCHMARK(LimitOneSecond)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
