// ExtractCommand: manifest.json plus NNN.png (whole picture as decoded) and NNN.wav (RIFF image).
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "AssetFile.h"
#include "Commands.h"
#include "platform/ImageFile.h"

namespace {

std::string ItemFileName(int index, const char* extension) { return Format("%03d.%s", index, extension); }

std::string HexText(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    for (const std::uint8_t b : bytes) {
        text += Format("%02X", b);
    }
    return text;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

nlohmann::ordered_json ExtractPicture(int index, TPictureCollectionItem& item, const std::filesystem::path& dir) {
    nlohmann::ordered_json entry = StoredScalars(item);
    if (item.Picture.Empty()) {
        entry["Picture"] = nullptr;
        return entry;
    }
    const platform::RgbImage image{item.Picture.Width(), item.Picture.Height(), item.Picture.Pixels()};
    const std::string name = ItemFileName(index, "png");
    std::string error;
    if (!platform::SavePng((dir / name).string(), image, error)) {
        throw std::runtime_error("cannot write " + name + ": " + error);
    }
    entry["Picture"] = {{"File", name}, {"Width", image.Width}, {"Height", image.Height}};
    return entry;
}

nlohmann::ordered_json ExtractSound(int index, TWaveCollectionItem& item, const std::filesystem::path& dir) {
    nlohmann::ordered_json entry = StoredScalars(item);
    if (!item.Wave.HasData()) {
        entry["Wave"] = nullptr;
        return entry;
    }
    TMemoryStream riff;
    item.Wave.SaveToStream(riff);
    const std::string name = ItemFileName(index, "wav");
    WriteBytes(dir / name, riff.Data());
    entry["Wave"] = {{"File", name}, {"Size", item.Wave.Size()}};
    return entry;
}

}  // namespace

int ExtractAssets(const std::string& fileName, const std::string& directory) {
    TAssetFile file;
    LoadAssetFile(fileName, file);
    const std::filesystem::path dir(directory);
    std::filesystem::create_directories(dir);
    nlohmann::ordered_json manifest;
    manifest["RootClass"] = file.RootClass();
    nlohmann::ordered_json items = nlohmann::ordered_json::array();
    if (file.Kind == AssetKind::Sounds) {
        manifest["Name"] = file.Sounds.ComponentName;
        for (int i = 0; i < file.Sounds.Count(); ++i) {
            items.push_back(ExtractSound(i, file.Sounds.Items(i), dir));
        }
    } else {
        manifest["Name"] = file.Pictures.ComponentName;
        if (!file.Pictures.ColorTable.empty()) {
            manifest["ColorTable"] = HexText(file.Pictures.ColorTable);
        }
        for (int i = 0; i < file.Pictures.Count(); ++i) {
            items.push_back(ExtractPicture(i, file.Pictures.Items(i), dir));
        }
    }
    manifest["Items"] = items;
    std::ofstream out(dir / "manifest.json");
    out << manifest.dump(2) << '\n';
    if (!out) {
        throw std::runtime_error("cannot write " + (dir / "manifest.json").string());
    }
    return 0;
}
