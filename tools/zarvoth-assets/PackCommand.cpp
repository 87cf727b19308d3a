// PackCommand: builds an asset file from an extracted directory; pictures become DIBs (8-bit
// with a palette up to 256 colours, else 24-bit), waves are read from their RIFF images.
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "AssetFile.h"
#include "Commands.h"
#include "platform/ImageFile.h"

namespace {

std::vector<std::uint8_t> HexBytes(const std::string& text) {
    if (text.size() % 2 != 0) {
        throw std::runtime_error("odd-length hex text");
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Sets the item's scalar properties from the entry; returns the payload entry (null if none).
nlohmann::ordered_json AssignEntry(const nlohmann::ordered_json& entry, TPersistent& item, const char* payloadKey) {
    nlohmann::ordered_json scalars = entry;
    scalars.erase(payloadKey);
    AssignScalars(item, scalars);
    return entry.contains(payloadKey) ? entry[payloadKey] : nlohmann::ordered_json();
}

void PackPicture(const nlohmann::ordered_json& entry, TPictureCollectionItem& item, const std::filesystem::path& dir) {
    const nlohmann::ordered_json picture = AssignEntry(entry, item, "Picture");
    if (picture.is_null()) {
        return;
    }
    platform::RgbImage image;
    std::string error;
    const std::string name = picture["File"].get<std::string>();
    if (!platform::LoadPng((dir / name).string(), image, error)) {
        throw std::runtime_error("cannot read " + name + ": " + error);
    }
    item.Picture.AssignPixels(image.Width, image.Height, std::move(image.Pixels));
}

void PackSound(const nlohmann::ordered_json& entry, TWaveCollectionItem& item, const std::filesystem::path& dir) {
    const nlohmann::ordered_json wave = AssignEntry(entry, item, "Wave");
    if (wave.is_null()) {
        return;
    }
    TMemoryStream riff(ReadBytes(dir / wave["File"].get<std::string>()));
    item.Wave.LoadFromStream(riff);
}

}  // namespace

int PackAssets(const std::string& directory, const std::string& fileName) {
    const std::filesystem::path dir(directory);
    std::ifstream in(dir / "manifest.json");
    if (!in) {
        throw std::runtime_error("cannot read " + (dir / "manifest.json").string());
    }
    const nlohmann::ordered_json manifest = nlohmann::ordered_json::parse(in);
    const std::string root = manifest.at("RootClass").get<std::string>();
    if (root == "TWaveCollectionComponent") {
        TWaveCollection sounds;
        sounds.ComponentName = manifest.value("Name", "");
        for (const nlohmann::ordered_json& entry : manifest.at("Items")) {
            PackSound(entry, sounds.Add(), dir);
        }
        sounds.SaveToFile(fileName);
    } else if (root == "TPictureCollectionComponent") {
        TPictureCollection pictures;
        pictures.ComponentName = manifest.value("Name", "");
        if (manifest.contains("ColorTable")) {
            pictures.ColorTable = HexBytes(manifest["ColorTable"].get<std::string>());
            if (pictures.ColorTable.size() != TPictureCollection::ColorTableSize) {
                throw std::runtime_error("ColorTable must hold 1024 bytes");
            }
        }
        for (const nlohmann::ordered_json& entry : manifest.at("Items")) {
            PackPicture(entry, pictures.Add(), dir);
        }
        pictures.SaveToFile(fileName);
    } else {
        throw std::runtime_error("unknown root class " + root);
    }
    return 0;
}
