// AssetFile: root-class detection, loading and the generic scalar-property mapping.
#include "AssetFile.h"

#include <charconv>
#include <cstdint>
#include <stdexcept>

namespace {

// The root class name as the engine's reader sees it; empty when unreadable (the real load
// then reports the reader's message).
std::string PeekRootClass(const std::vector<std::uint8_t>& bytes) {
    try {
        TMemoryStream stream(bytes);
        return ReadRootClassName(stream);
    } catch (const Exception&) {
        return "";
    }
}

// "0x" and one to eight hex digits, as ColorText writes them.
std::int64_t ColorValue(const std::string& text) {
    std::uint32_t value = 0;
    const char* digits = text.data() + 2;
    const char* end = text.data() + text.size();
    if (text.size() < 3 || text.size() > 10 || text.compare(0, 2, "0x") != 0 ||
        std::from_chars(digits, end, value, 16).ptr != end) {
        throw std::runtime_error("colour " + text + " is not 0x and up to eight hex digits");
    }
    return value;
}

int IntegerValue(const nlohmann::ordered_json& value) {
    const bool fits = value.is_number_unsigned() ? value.get<std::uint64_t>() <= INT32_MAX
                                                 : value.is_number_integer() && value.get<std::int64_t>() >= INT32_MIN &&
                                                       value.get<std::int64_t>() <= INT32_MAX;
    if (!fits) {
        throw std::runtime_error("not a 32-bit integer: " + value.dump());
    }
    return value.get<int>();
}

bool IsScalar(TPropertyKind kind) {
    return kind == TPropertyKind::Integer || kind == TPropertyKind::Boolean || kind == TPropertyKind::String ||
           kind == TPropertyKind::Color;
}

}  // namespace

void LoadAssetFile(const std::string& fileName, TAssetFile& file) {
    std::vector<std::uint8_t> bytes = LoadFileBytes(fileName);
    file.Kind = PeekRootClass(bytes) == "TWaveCollectionComponent" ? AssetKind::Sounds : AssetKind::Pictures;
    TMemoryStream stream(std::move(bytes));
    if (file.Kind == AssetKind::Sounds) {
        file.Sounds.LoadFromStream(stream);
    } else {
        file.Pictures.LoadFromStream(stream);
    }
}

std::string ColorText(TColor color) { return Format("0x%06X", color); }

nlohmann::ordered_json StoredScalars(TPersistent& item) {
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    TPropertyList list;
    item.DefineProperties(list);
    for (const TProperty& p : list.All()) {
        if (!IsScalar(p.Kind)) {
            continue;
        }
        switch (p.Kind) {
            case TPropertyKind::Boolean:
                values[p.Name] = p.GetOrdinal() != 0;
                break;
            case TPropertyKind::String:
                values[p.Name] = p.GetString();
                break;
            case TPropertyKind::Color:
                values[p.Name] = ColorText(static_cast<TColor>(p.GetOrdinal()));
                break;
            default:
                values[p.Name] = p.GetOrdinal();
                break;
        }
    }
    return values;
}

void AssignScalars(TPersistent& item, const nlohmann::ordered_json& values) {
    TPropertyList list;
    item.DefineProperties(list);
    for (const auto& [name, value] : values.items()) {
        TProperty* p = list.Find(name);
        if (p == nullptr || !IsScalar(p->Kind)) {
            throw std::runtime_error("unknown property " + name);
        }
        switch (p->Kind) {
            case TPropertyKind::Boolean:
                p->SetOrdinal(value.get<bool>() ? 1 : 0);
                break;
            case TPropertyKind::String:
                p->SetString(value.get<std::string>());
                break;
            case TPropertyKind::Color:
                p->SetOrdinal(ColorValue(value.get<std::string>()));
                break;
            default:
                p->SetOrdinal(IntegerValue(value));
                break;
        }
    }
}

int GridPatternCount(const TPictureCollectionItem& item) {
    const int w = item.Picture.Width();
    const int h = item.Picture.Height();
    if (item.Picture.Empty()) {
        return 0;
    }
    const int cellWidth = item.PatternWidth > 0 ? item.PatternWidth : w;
    const int cellHeight = item.PatternHeight > 0 ? item.PatternHeight : h;
    if (cellWidth == w && cellHeight == h) {
        return 1;
    }
    const int stepX = cellWidth + item.SkipWidth;
    const int stepY = cellHeight + item.SkipHeight;
    if (stepX <= 0 || stepY <= 0) {
        return 0;
    }
    return ((w + item.SkipWidth) / stepX) * ((h + item.SkipHeight) / stepY);
}
