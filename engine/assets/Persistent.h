// Persistent: the publishing side of the object-stream format. Any class publishes its stored
// properties by overriding DefineProperties; the reader (ObjectReader.h) and the writer
// (ObjectWriter.h) walk that list. Also the owned-collection template, the component base with
// owned children, and the class registry that creates child objects by class name.
// Depends on Classes and Stream.
//
// Publishing properties on an existing class:
//
//     class TDXTimer : public TComponent {
//     public:
//         int Interval = 1000;
//         bool Enabled = true;
//         std::string ClassName() const override { return "TDXTimer"; }
//         void DefineProperties(TPropertyList& list) override {
//             TComponent::DefineProperties(list);          // Name, Tag
//             list.Boolean("Enabled", Enabled);
//             list.Integer("Interval", Interval);
//         }
//     };
//     // Sets: bit i of the value is member i of the names.
//     list.Set("Options", {"doAllowReboot", "doWaitVBlank"}, OptionBits);
//     // Setter hooks: list.Boolean("Looped", [this] { return Looped; }, [this](bool v) { SetLooped(v); });
//     // Object-valued: list.Object("Picture", Picture) — read as "Picture.Data" etc.
//     // Binary extras: list.Binary("Data", reader(TMemoryStream&), writer(TMemoryStream&), hasData).
//     // Written only when a condition holds: list.Integer("SkipWidth", SkipWidth).StoredWhen([this] { ... });
//     RegisterClass("TDXTimer", [] { return std::make_unique<TDXTimer>(); });
//
// Properties are written in the order they are defined; the reader accepts any order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/assets/Classes.h"
#include "engine/assets/Stream.h"

ZARVOTH_DECLARE_EXCEPTION(EFilerError, Exception);
ZARVOTH_DECLARE_EXCEPTION(EPropertyError, EFilerError);
ZARVOTH_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
ZARVOTH_DECLARE_EXCEPTION(EComponentError, Exception);

class TPersistent;
class TCollectionBase;

enum class TPropertyKind { Integer, Boolean, String, Color, Float, Enumeration, Set, Object, Collection, Binary, Reference };

// One published property: how to get and set it, and when it is written.
struct TProperty {
    std::string Name;
    TPropertyKind Kind = TPropertyKind::Integer;
    std::function<std::int64_t()> GetOrdinal;  // Integer, Boolean, Color, Enumeration, Set
    std::function<void(std::int64_t)> SetOrdinal;
    std::function<std::string()> GetString;
    std::function<void(const std::string&)> SetString;
    std::function<double()> GetFloat;
    std::function<void(double)> SetFloat;
    std::vector<std::string> Identifiers;  // Enumeration and Set member names, by ordinal
    std::function<TPersistent*()> GetObject;
    std::function<TCollectionBase*()> GetCollection;
    std::function<void(TMemoryStream&)> ReadBinary;  // gets a stream of exactly the stored length
    std::function<void(TMemoryStream&)> WriteBinary;
    std::function<bool()> Stored;  // empty: always written

    TProperty& StoredWhen(std::function<bool()> condition) {
        Stored = std::move(condition);
        return *this;
    }
    bool IsStored() const { return !Stored || Stored(); }
};

class TPropertyList {
public:
    TProperty& Integer(const std::string& name, int& field);
    TProperty& Integer(const std::string& name, std::function<int()> get, std::function<void(int)> set);
    TProperty& Boolean(const std::string& name, bool& field);
    TProperty& Boolean(const std::string& name, std::function<bool()> get, std::function<void(bool)> set);
    TProperty& String(const std::string& name, std::string& field);
    TProperty& String(const std::string& name, std::function<std::string()> get,
                      std::function<void(const std::string&)> set);
    TProperty& Color(const std::string& name, TColor& field);
    TProperty& Float(const std::string& name, double& field);
    // Ordinal index into names; written as an identifier.
    TProperty& Enumeration(const std::string& name, std::vector<std::string> names, int& field);
    // Bit i set = names[i] is a member (at most 64 members).
    TProperty& Set(const std::string& name, std::vector<std::string> names, std::uint64_t& field);
    TProperty& Set(const std::string& name, std::vector<std::string> names, std::function<std::uint64_t()> get,
                   std::function<void(std::uint64_t)> set);
    TProperty& Object(const std::string& name, TPersistent& object);
    // The name of another component of the same form, written as an identifier ("DXDraw1");
    // the owner resolves it once the whole form is read. Stored only when not empty.
    TProperty& Reference(const std::string& name, std::string& componentName);
    TProperty& Collection(const std::string& name, TCollectionBase& collection);
    TProperty& Binary(const std::string& name, std::function<void(TMemoryStream&)> read,
                      std::function<void(TMemoryStream&)> write, std::function<bool()> hasData);

    // Case-insensitive, as the format's names are.
    TProperty* Find(const std::string& name);
    std::vector<TProperty>& All() { return Properties; }

private:
    TProperty& Add(const std::string& name, TPropertyKind kind);
    std::vector<TProperty> Properties;
};

class TPersistent {
public:
    virtual ~TPersistent() = default;
    virtual std::string ClassName() const = 0;
    // The name used in read-error messages: the class name unless the object has a name.
    virtual std::string DisplayName() const { return ClassName(); }
    virtual void DefineProperties(TPropertyList& list) = 0;
    // Called on every object read once the whole stream has been read.
    virtual void Loaded() {}
};

// A collection property: items are created at the end by the reader.
class TCollectionBase : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual TPersistent& ItemAt(int index) = 0;
    virtual TPersistent& AddItem() = 0;
    virtual void Clear() = 0;
    virtual void Delete(int index) = 0;
    // Collections publish nothing of their own unless they override this.
    void DefineProperties(TPropertyList&) override {}
};

// Owned items of one class, in order. Items(i) raises "List index out of bounds (%d)".
template <typename Item>
class TOwnedCollection : public TCollectionBase {
public:
    int Count() const override { return static_cast<int>(List.size()); }
    Item& Items(int index) const {
        if (index < 0 || index >= Count()) {
            RaiseListIndexError(index);
        }
        return *List[static_cast<std::size_t>(index)];
    }
    Item& Add() {
        List.push_back(std::make_unique<Item>());
        return *List.back();
    }
    void Clear() override { List.clear(); }
    void Delete(int index) override {
        Items(index);
        List.erase(List.begin() + index);
    }
    TPersistent& ItemAt(int index) override { return Items(index); }
    TPersistent& AddItem() override { return Add(); }

private:
    std::vector<std::unique_ptr<Item>> List;
};

// A named object that owns child components (as a form owns its parts).
class TComponent : public TPersistent {
public:
    std::string Name;
    int Tag = 0;

    std::string DisplayName() const override { return Name.empty() ? ClassName() : Name; }
    // Name (checked, not written: the object header carries it) and Tag.
    void DefineProperties(TPropertyList& list) override;
    // Raises "''%s'' is not a valid component name" unless empty or an identifier.
    void SetName(const std::string& name);

    int ComponentCount() const { return static_cast<int>(Children.size()); }
    TComponent& Components(int index) const;
    TComponent* FindComponent(const std::string& name) const;
    // The reader gives a child created by class name here; override to keep typed references.
    virtual TComponent& InsertComponent(std::unique_ptr<TComponent> child);

private:
    std::vector<std::unique_ptr<TComponent>> Children;
};

bool IsValidIdent(const std::string& name);

// Class registry: child objects are created by class name.
using TComponentFactory = std::function<std::unique_ptr<TComponent>()>;
void RegisterClass(const std::string& className, TComponentFactory factory);
// Raises "Class %s not found".
std::unique_ptr<TComponent> CreateComponentByClassName(const std::string& className);

// Colour identifiers ("clFuchsia" <-> 0xFF00FF, system colours 0x80000000 + index).
bool IdentToColor(const std::string& ident, TColor& color);
bool ColorToIdent(TColor color, std::string& ident);

// Value tags of the object-stream encoding.
enum TValueTag : std::uint8_t {
    vaNull = 0,
    vaList = 1,
    vaInt8 = 2,
    vaInt16 = 3,
    vaInt32 = 4,
    vaExtended = 5,
    vaString = 6,
    vaIdent = 7,
    vaFalse = 8,
    vaTrue = 9,
    vaBinary = 10,
    vaSet = 11,
    vaLString = 12,
    vaNil = 13,
    vaCollection = 14,
    vaSingle = 15,
    vaCurrency = 16,
    vaDate = 17,
    vaWString = 18,
    vaInt64 = 19,
    vaUTF8String = 20,
};
