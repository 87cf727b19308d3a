// ContentFiles: collections filled from the generated items and saved.
#include "tools/zarvoth-content/ContentFiles.h"

#include <cstring>
#include <future>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"
#include "tools/zarvoth-content/GameGraphics.h"
#include "tools/zarvoth-content/MenuScreens.h"
#include "tools/zarvoth-content/Music.h"
#include "tools/zarvoth-content/SoundEffects.h"

namespace content {

void WriteGraphicsFile(const std::string& path, const std::vector<PictureItem>& items) {
    TPictureCollection collection;
    for (const PictureItem& source : items) {
        TPictureCollectionItem& item = collection.Add();
        item.Name = source.Name;
        item.PatternWidth = source.PatternWidth;
        item.PatternHeight = source.PatternHeight;
        item.Transparent = true;
        item.TransparentColor = KeyColour;
        item.Picture.AssignPixels(source.Picture.Width, source.Picture.Height, source.Picture.Pixels);
    }
    collection.SaveToFile(path);
}

void WriteSoundFile(const std::string& path, const std::vector<PcmSound>& sounds) {
    TWaveCollection collection;
    for (const PcmSound& sound : sounds) {
        TWaveCollectionItem& item = collection.Add();
        item.Name = sound.Name;
        item.SetLooped(sound.Looped);
        item.SetMaxPlayingCount(sound.MaxPlayingCount);
        std::vector<std::uint8_t> bytes(sound.Samples.size() * sizeof(std::int16_t));
        // The wave data is little-endian, as the samples are held on every supported machine.
        std::memcpy(bytes.data(), sound.Samples.data(), bytes.size());
        item.Wave.SetPCM(SampleRate, 16, sound.Channels, bytes);
    }
    collection.SaveToFile(path);
}

void WriteContent(const std::string& folder) {
    auto effects = std::async(std::launch::async, [] { return SoundEffects(); });
    auto music = std::async(std::launch::async, [] { return MusicTrack(); });
    WriteGraphicsFile(folder + "/GGraphics.dxg", GameGraphics());
    WriteGraphicsFile(folder + "/MGraphics.dxg", MenuGraphics());
    WriteSoundFile(folder + "/Sound.dxw", effects.get());
    WriteSoundFile(folder + "/Music.dxw", {music.get()});
}

}  // namespace content
