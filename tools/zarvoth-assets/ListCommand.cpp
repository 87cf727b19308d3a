// ListCommand: one line per item of a graphics or sound file.
#include <ostream>

#include "AssetFile.h"
#include "Commands.h"

namespace {

void ListPicture(int index, const TPictureCollectionItem& item, std::ostream& out) {
    const TPicture& p = item.Picture;
    out << Format("%03d %-20s %-10s %5dx%-5d pattern %dx%d count %d skip %d,%d transparent %s colour %s\n", index,
                  ("\"" + item.Name + "\"").c_str(), p.Empty() ? "(none)" : p.GraphicClass().c_str(), p.Width(),
                  p.Height(), item.PatternWidth, item.PatternHeight, GridPatternCount(item), item.SkipWidth,
                  item.SkipHeight, item.Transparent ? "yes" : "no", ColorText(item.TransparentColor).c_str());
}

void ListSound(int index, const TWaveCollectionItem& item, std::ostream& out) {
    const TWave& w = item.Wave;
    const int bytesPerSecond = w.AvgBytesPerSec();
    const double seconds = bytesPerSecond > 0 ? static_cast<double>(w.Size()) / bytesPerSecond : 0.0;
    out << Format("%03d %-20s looped %s max %d format %d rate %d channels %d bits %d length %d bytes %.3f s\n", index,
                  ("\"" + item.Name + "\"").c_str(), item.Looped() ? "yes" : "no", item.MaxPlayingCount(), w.FormatTag(),
                  w.SamplesPerSec(), w.Channels(), w.BitsPerSample(), w.Size(), seconds);
}

}  // namespace

int ListAssets(const std::string& fileName, std::ostream& out) {
    TAssetFile file;
    LoadAssetFile(fileName, file);
    for (int i = 0; i < file.Count(); ++i) {
        if (file.Kind == AssetKind::Sounds) {
            ListSound(i, file.Sounds.Items(i), out);
        } else {
            ListPicture(i, file.Pictures.Items(i), out);
        }
    }
    return 0;
}
