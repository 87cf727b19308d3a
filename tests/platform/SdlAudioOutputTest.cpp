// The mixer on SDL's audio output, run on the dummy audio driver: the device opens, SDL's
// thread pulls the mix (a one-shot sound runs out without the test rendering anything), and
// the device closes again.
#include "platform/SdlAudioOutput.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace platform {
namespace {

TEST(SdlAudioOutput, OutputThreadPullsTheMix) {
    auto device = CreateSystemSoundDevice();
    ASSERT_TRUE(device->Open()) << "the dummy audio driver should always open";
    const WaveFormat format{WaveFormatPCM, 1, 22050, 44100, 2, 16};
    SoundResult result = SoundResult::InvalidCall;
    auto buffer = device->CreateBuffer(format, 2 * 441, result);  // 20 ms
    ASSERT_EQ(result, SoundResult::Ok);
    ASSERT_EQ(buffer->Play(false), SoundResult::Ok);

    std::uint32_t status = SoundStatusPlaying;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (status != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(buffer->GetStatus(status), SoundResult::Ok);
    }
    EXPECT_EQ(status, 0u);
    buffer.reset();
    device->Close();
    EXPECT_FALSE(device->IsOpen());
}

}  // namespace
}  // namespace platform
