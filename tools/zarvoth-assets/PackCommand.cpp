// PackCommand: builds an asset file from an extracted directory; pictures become DIBs (8-bit
// with a palette up to 256 colours, else 24-bit), waves are read from their RIFF images. The
// directory is not trusted: every refusal names the file and the reason, and nothing is
// written unless the whole directory packs.
#include <charconv>
#include <filesystem>

#include "AssetFile.h"
#include "Commands.h"
#include "FolderFile.h"
#include "platform/ImageFile.h"

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

namespace {

constexpr std::uintmax_t MaxManifestBytes = std::uintmax_t{16} << 20;
constexpr std::uintmax_t MaxItemFileBytes = std::uintmax_t{256} << 20;
// An extracted manifest nests four levels; the parser stops long before a deep value could
// exhaust the stack of anything that walks it.
constexpr int MaxJsonDepth = 32;
// A WAVEFORMAT record without the extension size.
constexpr std::size_t MinWaveFormatSize = 16;
// The object name is written as a short string.
constexpr std::size_t MaxRootNameLength = 255;

fs::path ManifestPath(const fs::path& dir) { return dir / "manifest.json"; }

Json ParseManifest(const fs::path& dir) {
    const std::vector<std::uint8_t> text = ReadFolderFile(dir, "manifest.json", MaxManifestBytes);
    const auto limitDepth = [&dir](int depth, Json::parse_event_t event, Json&) {
        if (depth >= MaxJsonDepth && (event == Json::parse_event_t::object_start ||
                                      event == Json::parse_event_t::array_start)) {
            throw FolderFileError(ManifestPath(dir), "nested deeper than " + std::to_string(MaxJsonDepth) + " levels");
        }
        return true;
    };
    try {
        return Json::parse(text.begin(), text.end(), limitDepth);
    } catch (const nlohmann::json::exception& e) {
        throw FolderFileError(ManifestPath(dir), e.what());
    }
}

std::vector<std::uint8_t> HexBytes(const std::string& text) {
    if (text.size() % 2 != 0) {
        throw std::runtime_error("odd-length hex text");
    }
    std::vector<std::uint8_t> bytes(text.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char* first = text.data() + 2 * i;
        if (std::from_chars(first, first + 2, bytes[i], 16).ptr != first + 2) {
            throw std::runtime_error("not hex text");
        }
    }
    return bytes;
}

// Sets the item's scalar properties from the entry; returns the payload entry (null if none).
Json AssignEntry(const Json& entry, TPersistent& item, const char* payloadKey) {
    if (!entry.is_object()) {
        throw std::runtime_error("not an object");
    }
    Json scalars = entry;
    scalars.erase(payloadKey);
    AssignScalars(item, scalars);
    return entry.contains(payloadKey) ? entry[payloadKey] : Json();
}

void PackPicture(const Json& entry, TPictureCollectionItem& item, const fs::path& dir) {
    const Json picture = AssignEntry(entry, item, "Picture");
    if (picture.is_null()) {
        return;
    }
    const std::string name = picture.at("File").get<std::string>();
    platform::RgbImage image;
    std::string error;
    if (!platform::LoadPng(ReadFolderFile(dir, name, MaxItemFileBytes), image, error)) {
        throw FolderFileError(dir / name, error);
    }
    item.Picture.AssignPixels(image.Width, image.Height, std::move(image.Pixels));
}

// Why a RIFF image would not make a whole sound; empty when it would. The game's own reader
// takes such images as they come; packing refuses them rather than store a silent item.
std::string WaveFault(TMemoryStream& riff) {
    TWaveStream wave(riff);
    wave.OpenRead();
    if (!wave.ChunksFit()) {
        return "a chunk runs past the end of the file";
    }
    if (wave.Format().size() < MinWaveFormatSize) {
        return wave.Format().empty() ? "no \"fmt \" chunk" : "\"fmt \" chunk shorter than 16 bytes";
    }
    if (!wave.HasDataChunk() || wave.DataSize() == 0) {
        return "no samples in a \"data\" chunk";
    }
    return "";
}

void PackSound(const Json& entry, TWaveCollectionItem& item, const fs::path& dir) {
    const Json wave = AssignEntry(entry, item, "Wave");
    if (wave.is_null()) {
        return;
    }
    const std::string name = wave.at("File").get<std::string>();
    TMemoryStream riff(ReadFolderFile(dir, name, MaxItemFileBytes));
    std::string fault;
    try {
        fault = WaveFault(riff);
        if (fault.empty()) {
            riff.Seek(0);
            item.Wave.LoadFromStream(riff);
        }
    } catch (const Exception& e) {
        fault = e.what();
    }
    if (!fault.empty()) {
        throw FolderFileError(dir / name, fault);
    }
}

std::string RootName(const Json& manifest) {
    const std::string name = manifest.value("Name", "");
    if (!name.empty() && (!IsValidIdent(name) || name.size() > MaxRootNameLength)) {
        throw std::runtime_error("Name is not an identifier of at most 255 characters");
    }
    return name;
}

template <class Collection, class PackItem>
void PackItems(const Json& manifest, Collection& collection, const fs::path& dir, PackItem packItem) {
    const Json& items = manifest.at("Items");
    if (!items.is_array()) {
        throw std::runtime_error("Items is not a list");
    }
    for (std::size_t index = 0; index < items.size(); ++index) {
        try {
            packItem(items[index], collection.Add(), dir);
        } catch (const EFolderFileError&) {
            throw;
        } catch (const std::exception& e) {
            throw std::runtime_error("item " + std::to_string(index) + ": " + e.what());
        }
    }
}

template <class Collection>
void Save(Collection& collection, const std::string& fileName) {
    try {
        collection.SaveToFile(fileName);
    } catch (const Exception& e) {
        throw FolderFileError(fileName, e.what());
    }
}

void Pack(const Json& manifest, const fs::path& dir, const std::string& fileName) {
    const std::string root = manifest.at("RootClass").get<std::string>();
    if (root == "TWaveCollectionComponent") {
        TWaveCollection sounds;
        sounds.ComponentName = RootName(manifest);
        PackItems(manifest, sounds, dir, PackSound);
        Save(sounds, fileName);
    } else if (root == "TPictureCollectionComponent") {
        TPictureCollection pictures;
        pictures.ComponentName = RootName(manifest);
        if (manifest.contains("ColorTable")) {
            pictures.ColorTable = HexBytes(manifest["ColorTable"].get<std::string>());
            if (pictures.ColorTable.size() != TPictureCollection::ColorTableSize) {
                throw std::runtime_error("ColorTable must hold 1024 bytes");
            }
        }
        PackItems(manifest, pictures, dir, PackPicture);
        Save(pictures, fileName);
    } else {
        throw std::runtime_error("unknown root class " + root);
    }
}

}  // namespace

int PackAssets(const std::string& directory, const std::string& fileName) {
    const fs::path dir(directory);
    const Json manifest = ParseManifest(dir);
    try {
        Pack(manifest, dir, fileName);
    } catch (const EFolderFileError&) {
        throw;
    } catch (const std::exception& e) {
        throw FolderFileError(ManifestPath(dir), e.what());
    }
    return 0;
}
