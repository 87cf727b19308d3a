// AssetCollection: the published properties of an asset file's root object.
#include "engine/assets/AssetCollection.h"

void TCollectionComponent::DefineProperties(TPropertyList& list) {
    TComponent::DefineProperties(list);
    list.Collection("List", List);
}
