// ContentFiles: writes the generated pictures and sounds as the game's four asset files
// (GGraphics.dxg, MGraphics.dxg, Sound.dxw, Music.dxw) with the engine's own collection
// writers. Depends on GameGraphics, MenuScreens, SoundEffects, Music and the engine's
// TPictureCollection and TWaveCollection.
#pragma once

#include <string>
#include <vector>

#include "tools/zarvoth-content/Pictures.h"
#include "tools/zarvoth-content/Synth.h"

namespace content {

void WriteGraphicsFile(const std::string& path, const std::vector<PictureItem>& items);
void WriteSoundFile(const std::string& path, const std::vector<PcmSound>& sounds);
// All four files into the folder. The sounds are made on worker threads while the pictures
// (which need the font renderer) are drawn on this one.
void WriteContent(const std::string& folder);

}  // namespace content
