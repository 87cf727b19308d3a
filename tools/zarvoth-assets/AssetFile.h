// AssetFile: the toolkit's view of an asset file — which collection it holds (by its root
// class), loading it, and the stored scalar properties of an item as JSON (and back), taken from
// the properties the item publishes. Depends on the engine's collections and nlohmann-json.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "engine/images/PictureCollection.h"
#include "engine/sound/WaveCollection.h"

enum class AssetKind { Pictures, Sounds };

struct TAssetFile {
    AssetKind Kind = AssetKind::Pictures;
    TPictureCollection Pictures;
    TWaveCollection Sounds;

    std::string RootClass() const {
        return Kind == AssetKind::Sounds ? "TWaveCollectionComponent" : "TPictureCollectionComponent";
    }
    int Count() const { return Kind == AssetKind::Sounds ? Sounds.Count() : Pictures.Count(); }
};

// Raises the reader's errors.
void LoadAssetFile(const std::string& fileName, TAssetFile& file);

// Integer, boolean, string and colour properties (colours as "0xBBGGRR" text).
nlohmann::ordered_json StoredScalars(TPersistent& item);
// Sets every scalar property named in the JSON object; unknown names are an error.
void AssignScalars(TPersistent& item, const nlohmann::ordered_json& values);

// Pattern count of the item's grid as the drawing code cuts it (0 for an empty picture).
int GridPatternCount(const TPictureCollectionItem& item);

std::string ColorText(TColor color);
