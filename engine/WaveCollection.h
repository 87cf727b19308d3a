// WaveCollection: the sound items of a wave list and their file form — TWaveCollection (owned
// TWaveCollectionItems), loading it from and saving it to an asset file through the root class
// TWaveCollectionComponent. Depends on engine/AssetCollection.h and engine/Wave.h.
#pragma once

#include <string>

#include "engine/AssetCollection.h"
#include "engine/Wave.h"

// One sound. Stored properties, in their written order: Name, Looped, MaxPlayingCount,
// Wave.WAVE (only when the wave has samples and a format).
class TWaveCollectionItem : public TPersistent {
public:
    std::string Name;
    bool Looped = false;
    int MaxPlayingCount = 0;
    TWave Wave;

    std::string ClassName() const override { return "TWaveCollectionItem"; }
    void DefineProperties(TPropertyList& list) override;

    // Plain setters that the reader goes through; playback hooks in here.
    void SetLooped(bool looped) { Looped = looped; }
    // A negative count becomes 0 (no limit).
    void SetMaxPlayingCount(int count) { MaxPlayingCount = count < 0 ? 0 : count; }
};

class TWaveCollectionComponent;

class TWaveCollection : public TAssetCollection<TWaveCollectionItem, TWaveCollectionComponent> {
public:
    std::string ClassName() const override { return "TWaveCollection"; }
};

// The root object of a sound file.
class TWaveCollectionComponent : public TCollectionComponent {
public:
    explicit TWaveCollectionComponent(TCollectionBase& list) : TCollectionComponent("TWaveCollectionComponent", list) {}
};
