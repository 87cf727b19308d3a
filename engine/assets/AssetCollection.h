// AssetCollection: what the image and sound collections share — an owned item list that loads
// from and saves to an asset file through a temporary root component of its own root class
// (Name, Tag and List, bound to the collection). Depends on ObjectReader,
// ObjectWriter and Persistent.
#pragma once

#include <string>

#include "engine/assets/ObjectReader.h"
#include "engine/assets/ObjectWriter.h"
#include "engine/assets/Persistent.h"
#include "engine/assets/Stream.h"

// The root object of an asset file; its class name is the one written in the file.
class TCollectionComponent : public TComponent {
public:
    TCollectionComponent(std::string className, TCollectionBase& list) : Class(std::move(className)), List(list) {}
    std::string ClassName() const override { return Class; }
    void DefineProperties(TPropertyList& list) override;

private:
    std::string Class;
    TCollectionBase& List;
};

// Root is constructed from the collection (TPictureCollectionComponent, TWaveCollectionComponent).
template <typename Item, typename Root>
class TAssetCollection : public TOwnedCollection<Item> {
public:
    // The root object's name in the file it came from (written back when saving).
    std::string ComponentName;

    // Empties the collection, then reads the file; items read before an error stay.
    // Raises "Cannot open file %s" when the file cannot be opened; an error in its contents
    // carries the file's name (Exception::FileName).
    void LoadFromFile(const std::string& fileName) {
        TMemoryStream stream(LoadFileBytes(fileName));
        try {
            LoadFromStream(stream);
        } catch (Exception& error) {
            error.SetFileName(fileName);
            throw;
        }
    }
    void LoadFromStream(TMemoryStream& stream) {
        this->Clear();
        ClearExtras();
        Root root(*this);
        ReadComponentResource(stream, root);
        ComponentName = root.Name;
        AfterLoad();
    }
    void SaveToFile(const std::string& fileName) {
        TMemoryStream stream;
        SaveToStream(stream);
        SaveFileBytes(fileName, stream.Data());
    }
    // The resource is named after the root class, upper case.
    void SaveToStream(TMemoryStream& stream) {
        Root root(*this);
        root.Name = ComponentName;
        WriteComponentResource(stream, root, root.ClassName());
    }

protected:
    // Collection-wide stored values that a new file replaces.
    virtual void ClearExtras() {}
    // Runs once a whole stream has been read into the collection.
    virtual void AfterLoad() {}
};
