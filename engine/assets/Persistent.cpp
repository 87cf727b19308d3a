// Persistent: property list building, component children, the class registry and colour names.
#include "engine/assets/Persistent.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

TProperty& TPropertyList::Add(const std::string& name, TPropertyKind kind) {
    TProperty& p = Properties.emplace_back();
    p.Name = name;
    p.Kind = kind;
    return p;
}

TProperty& TPropertyList::Integer(const std::string& name, int& field) {
    return Integer(name, [&field] { return field; }, [&field](int v) { field = v; });
}

TProperty& TPropertyList::Integer(const std::string& name, std::function<int()> get, std::function<void(int)> set) {
    TProperty& p = Add(name, TPropertyKind::Integer);
    p.GetOrdinal = [get = std::move(get)] { return static_cast<std::int64_t>(get()); };
    p.SetOrdinal = [set = std::move(set)](std::int64_t v) { set(static_cast<int>(v)); };
    return p;
}

TProperty& TPropertyList::Boolean(const std::string& name, bool& field) {
    return Boolean(name, [&field] { return field; }, [&field](bool v) { field = v; });
}

TProperty& TPropertyList::Boolean(const std::string& name, std::function<bool()> get, std::function<void(bool)> set) {
    TProperty& p = Add(name, TPropertyKind::Boolean);
    p.GetOrdinal = [get = std::move(get)] { return static_cast<std::int64_t>(get() ? 1 : 0); };
    p.SetOrdinal = [set = std::move(set)](std::int64_t v) { set(v != 0); };
    return p;
}

TProperty& TPropertyList::String(const std::string& name, std::string& field) {
    return String(name, [&field] { return field; }, [&field](const std::string& v) { field = v; });
}

TProperty& TPropertyList::String(const std::string& name, std::function<std::string()> get,
                                 std::function<void(const std::string&)> set) {
    TProperty& p = Add(name, TPropertyKind::String);
    p.GetString = std::move(get);
    p.SetString = std::move(set);
    return p;
}

TProperty& TPropertyList::Color(const std::string& name, TColor& field) {
    TProperty& p = Add(name, TPropertyKind::Color);
    p.GetOrdinal = [&field] { return static_cast<std::int64_t>(field); };
    p.SetOrdinal = [&field](std::int64_t v) { field = static_cast<TColor>(v); };
    return p;
}

TProperty& TPropertyList::Float(const std::string& name, double& field) {
    TProperty& p = Add(name, TPropertyKind::Float);
    p.GetFloat = [&field] { return field; };
    p.SetFloat = [&field](double v) { field = v; };
    return p;
}

TProperty& TPropertyList::Enumeration(const std::string& name, std::vector<std::string> names, int& field) {
    TProperty& p = Add(name, TPropertyKind::Enumeration);
    p.Identifiers = std::move(names);
    p.GetOrdinal = [&field] { return static_cast<std::int64_t>(field); };
    p.SetOrdinal = [&field](std::int64_t v) { field = static_cast<int>(v); };
    return p;
}

TProperty& TPropertyList::Set(const std::string& name, std::vector<std::string> names, std::uint64_t& field) {
    TProperty& p = Add(name, TPropertyKind::Set);
    p.Identifiers = std::move(names);
    p.GetOrdinal = [&field] { return static_cast<std::int64_t>(field); };
    p.SetOrdinal = [&field](std::int64_t v) { field = static_cast<std::uint64_t>(v); };
    return p;
}

TProperty& TPropertyList::Set(const std::string& name, std::vector<std::string> names,
                              std::function<std::uint64_t()> get, std::function<void(std::uint64_t)> set) {
    TProperty& p = Add(name, TPropertyKind::Set);
    p.Identifiers = std::move(names);
    p.GetOrdinal = [get = std::move(get)] { return static_cast<std::int64_t>(get()); };
    p.SetOrdinal = [set = std::move(set)](std::int64_t v) { set(static_cast<std::uint64_t>(v)); };
    return p;
}

TProperty& TPropertyList::Object(const std::string& name, TPersistent& object) {
    TProperty& p = Add(name, TPropertyKind::Object);
    p.GetObject = [&object] { return &object; };
    return p;
}

TProperty& TPropertyList::Reference(const std::string& name, std::string& componentName) {
    TProperty& p = Add(name, TPropertyKind::Reference);
    p.GetString = [&componentName] { return componentName; };
    p.SetString = [&componentName](const std::string& v) { componentName = v; };
    p.Stored = [&componentName] { return !componentName.empty(); };
    return p;
}

TProperty& TPropertyList::Collection(const std::string& name, TCollectionBase& collection) {
    TProperty& p = Add(name, TPropertyKind::Collection);
    p.GetCollection = [&collection] { return &collection; };
    return p;
}

TProperty& TPropertyList::Binary(const std::string& name, std::function<void(TMemoryStream&)> read,
                                 std::function<void(TMemoryStream&)> write, std::function<bool()> hasData) {
    TProperty& p = Add(name, TPropertyKind::Binary);
    p.ReadBinary = std::move(read);
    p.WriteBinary = std::move(write);
    p.Stored = std::move(hasData);
    return p;
}

TProperty* TPropertyList::Find(const std::string& name) {
    for (TProperty& p : Properties) {
        if (SameText(p.Name, name)) {
            return &p;
        }
    }
    return nullptr;
}

bool IsValidIdent(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        return false;
    }
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x80 && (std::isalnum(u) || c == '_');
    });
}

void TComponent::SetName(const std::string& name) {
    if (!name.empty() && !IsValidIdent(name)) {
        throw EComponentError(Format("''%s'' is not a valid component name", name.c_str()));
    }
    Name = name;
}

void TComponent::DefineProperties(TPropertyList& list) {
    list.String("Name", [this] { return Name; }, [this](const std::string& v) { SetName(v); })
        .StoredWhen([] { return false; });
    list.Integer("Tag", Tag).StoredWhen([this] { return Tag != 0; });
}

TComponent& TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) {
        RaiseListIndexError(index);
    }
    return *Children[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (const auto& child : Children) {
        if (SameText(child->Name, name)) {
            return child.get();
        }
    }
    return nullptr;
}

TComponent& TComponent::InsertComponent(std::unique_ptr<TComponent> child) {
    Children.push_back(std::move(child));
    return *Children.back();
}

namespace {

std::map<std::string, TComponentFactory>& Registry() {
    static std::map<std::string, TComponentFactory> registry;
    return registry;
}

struct ColorName {
    const char* Name;
    TColor Value;
};

constexpr TColor SystemColor(TColor index) { return 0x80000000u + index; }

constexpr ColorName ColorNames[] = {
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},
    {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},
    {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},
    {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},
    {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)},
    {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)},
    {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},
};

}  // namespace

void RegisterClass(const std::string& className, TComponentFactory factory) {
    Registry()[className] = std::move(factory);
}

std::unique_ptr<TComponent> CreateComponentByClassName(const std::string& className) {
    const auto found = Registry().find(className);
    if (found == Registry().end()) {
        throw EClassNotFound(Format("Class %s not found", className.c_str()));
    }
    return found->second();
}

bool IdentToColor(const std::string& ident, TColor& color) {
    for (const ColorName& entry : ColorNames) {
        if (SameText(entry.Name, ident)) {
            color = entry.Value;
            return true;
        }
    }
    return false;
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const ColorName& entry : ColorNames) {
        if (entry.Value == color) {
            ident = entry.Name;
            return true;
        }
    }
    return false;
}
