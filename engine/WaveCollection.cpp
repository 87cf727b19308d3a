// WaveCollection: the stored properties of sound items and the sound-file root.
#include "engine/WaveCollection.h"

void TWaveCollectionItem::DefineProperties(TPropertyList& list) {
    list.String("Name", Name);
    list.Boolean("Looped", [this] { return Looped; }, [this](bool v) { SetLooped(v); });
    list.Integer("MaxPlayingCount", [this] { return MaxPlayingCount; }, [this](int v) { SetMaxPlayingCount(v); });
    list.Object("Wave", Wave);
}
