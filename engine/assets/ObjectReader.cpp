// ObjectReader: the tagged-value reader. Every length in the stream is checked against what
// remains before it is used; nesting of child objects is bounded so a hostile file cannot
// exhaust the stack.
#include "engine/assets/ObjectReader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <unordered_set>

namespace {

constexpr int MaxChildDepth = 32;
constexpr std::size_t ResourceHeaderWindow = 79;

[[noreturn]] void RaiseInvalidValue() { throw EPropertyError("Invalid property value"); }

bool SameText(const std::string& a, const char* b) {
    const std::size_t n = std::strlen(b);
    if (a.size() != n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Code points above 255 have no 8-bit form.
char ToLatin1(std::uint32_t codePoint) { return codePoint <= 0xFF ? static_cast<char>(codePoint) : '?'; }

std::string Utf8ToLatin1(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > bytes.size()) {
            text += '?';
            ++i;
            continue;
        }
        std::uint32_t cp = length == 1 ? lead : static_cast<std::uint32_t>(lead & (0x7F >> length));
        bool valid = true;
        for (std::size_t k = 1; k < length; ++k) {
            valid = valid && (bytes[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (bytes[i + k] & 0x3Fu);
        }
        text += valid ? ToLatin1(cp) : '?';
        i += valid ? length : 1;
    }
    return text;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = path.find('.', start);
        parts.push_back(path.substr(start, dot - start));
        if (dot == std::string::npos) {
            return parts;
        }
        start = dot + 1;
    }
}

class TReader {
public:
    explicit TReader(TMemoryStream& stream) : Stream(stream) {}

    // Prefix byte (flags; a child-position integer when bit 1 is set), then the class name.
    std::string ReadPrefixAndClassName() {
        if (PeekTag() >= 0xF0) {
            const std::uint8_t flags = Stream.ReadU8() & 0x0F;
            if ((flags & 0x02) != 0) {
                ReadIntegerPayload(Stream.ReadU8());
            }
        }
        return ReadShortString();
    }

    void ReadRoot(TComponent& root) {
        ReadPrefixAndClassName();  // the root's class is known already
        root.SetName(ReadShortString());
        ReadObjectBody(root, 0);
        for (TPersistent* object : ReadObjects) {
            object->Loaded();
        }
    }

private:
    TMemoryStream& Stream;
    std::vector<TPersistent*> ReadObjects;

    int PeekTag() {
        if (Stream.Remaining() == 0) {
            RaiseReadError();
        }
        const std::uint8_t tag = Stream.ReadU8();
        Stream.Seek(Stream.Position() - 1);
        return tag;
    }

    std::string ReadShortString() {
        const std::uint8_t length = Stream.ReadU8();
        const std::vector<std::uint8_t> bytes = Stream.ReadBytes(length);
        return std::string(bytes.begin(), bytes.end());
    }

    std::string ReadLongText() {
        const std::vector<std::uint8_t> bytes = Stream.ReadBytes(Stream.ReadU32());
        return std::string(bytes.begin(), bytes.end());
    }

    std::int64_t ReadIntegerPayload(int tag) {
        switch (tag) {
            case vaInt8:
                return static_cast<std::int8_t>(Stream.ReadU8());
            case vaInt16:
                return static_cast<std::int16_t>(Stream.ReadU16());
            case vaInt32:
                return Stream.ReadI32();
            default:
                RaiseInvalidValue();
        }
    }

    static bool IsIntegerTag(int tag) { return tag == vaInt8 || tag == vaInt16 || tag == vaInt32; }

    void ReadObjectBody(TComponent& object, int depth) {
        ReadObjects.push_back(&object);
        ReadPropertyRecords(object);
        while (PeekTag() != vaNull) {
            ReadChild(object, depth + 1);
        }
        Stream.ReadU8();
    }

    void ReadChild(TComponent& parent, int depth) {
        if (depth > MaxChildDepth) {
            throw EInvalidStreamFormat("Invalid stream format");
        }
        const std::string className = ReadPrefixAndClassName();
        const std::string name = ReadShortString();
        if (TComponent* existing = parent.FindComponent(name)) {
            ReadObjectBody(*existing, depth);
            return;
        }
        std::unique_ptr<TComponent> created = CreateComponentByClassName(className);
        created->SetName(name);
        TComponent& child = parent.InsertComponent(std::move(created));
        ReadObjectBody(child, depth);
    }

    void ReadPropertyRecords(TPersistent& object) {
        while (PeekTag() != vaNull) {
            ReadPropertyRecord(object);
        }
        Stream.ReadU8();
    }

    void ReadPropertyRecord(TPersistent& object) {
        const std::string path = ReadShortString();
        try {
            ReadPropertyValue(object, path);
        } catch (const EPropertyReadError&) {
            throw;  // already names the first failing property
        } catch (const Exception& error) {
            throw EPropertyReadError(Format("Error reading %s%s%s: %s", object.DisplayName().c_str(), ".",
                                            path.c_str(), error.what()));
        }
    }

    void ReadPropertyValue(TPersistent& object, const std::string& path) {
        const std::vector<std::string> parts = SplitPath(path);
        TPersistent* target = &object;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            TPropertyList list;
            target->DefineProperties(list);
            const TProperty* step = list.Find(parts[i]);
            if (step == nullptr) {
                throw EPropertyError(Format("Property %s does not exist", parts[i].c_str()));
            }
            if (step->Kind == TPropertyKind::Object) {
                target = step->GetObject();
            } else if (step->Kind == TPropertyKind::Collection) {
                target = step->GetCollection();  // its own extras, as "List.ColorTable"
            } else {
                throw EPropertyError("Invalid property path");
            }
        }
        TPropertyList list;
        target->DefineProperties(list);
        TProperty* property = list.Find(parts.back());
        if (property == nullptr) {
            throw EPropertyError(Format("Property %s does not exist", parts.back().c_str()));
        }
        ReadValue(*property);
    }

    void ReadValue(TProperty& property) {
        const int tag = Stream.ReadU8();
        switch (property.Kind) {
            case TPropertyKind::Integer:
                property.SetOrdinal(ReadIntegerPayload(tag));
                return;
            case TPropertyKind::Color:
                property.SetOrdinal(tag == vaIdent ? ReadColorIdent() : ReadIntegerPayload(tag));
                return;
            case TPropertyKind::Boolean:
                property.SetOrdinal(ReadBooleanPayload(tag) ? 1 : 0);
                return;
            case TPropertyKind::String:
                property.SetString(ReadStringPayload(tag));
                return;
            case TPropertyKind::Float:
                property.SetFloat(ReadFloatPayload(tag));
                return;
            case TPropertyKind::Enumeration:
                property.SetOrdinal(ReadEnumerationPayload(tag, property.Identifiers));
                return;
            case TPropertyKind::Reference:
                property.SetString(tag == vaIdent ? ReadShortString() : ReadStringPayload(tag));
                return;
            case TPropertyKind::Set:
                property.SetOrdinal(ReadSetPayload(tag, property.Identifiers));
                return;
            case TPropertyKind::Collection:
                if (tag != vaCollection) {
                    RaiseInvalidValue();
                }
                ReadCollection(*property.GetCollection());
                return;
            case TPropertyKind::Binary: {
                if (tag != vaBinary) {
                    RaiseInvalidValue();
                }
                TMemoryStream payload(Stream.ReadBytes(Stream.ReadU32()));
                property.ReadBinary(payload);
                return;
            }
            case TPropertyKind::Object:
                break;
        }
        RaiseInvalidValue();
    }

    std::int64_t ReadColorIdent() {
        TColor color = 0;
        if (!IdentToColor(ReadShortString(), color)) {
            RaiseInvalidValue();
        }
        return color;
    }

    bool ReadBooleanPayload(int tag) {
        if (tag == vaFalse || tag == vaTrue) {
            return tag == vaTrue;
        }
        if (tag == vaIdent) {
            const std::string ident = ReadShortString();
            if (SameText(ident, "False") || SameText(ident, "True")) {
                return SameText(ident, "True");
            }
        }
        RaiseInvalidValue();
    }

    std::string ReadStringPayload(int tag) {
        switch (tag) {
            case vaString:
                return ReadShortString();
            case vaLString:
                return ReadLongText();
            case vaWString: {
                const std::uint32_t count = Stream.ReadU32();
                if (count > Stream.Remaining() / 2) {
                    RaiseReadError();
                }
                std::string text;
                text.reserve(count);
                for (std::uint32_t i = 0; i < count; ++i) {
                    text += ToLatin1(Stream.ReadU16());
                }
                return text;
            }
            case vaUTF8String:
                return Utf8ToLatin1(Stream.ReadBytes(Stream.ReadU32()));
            default:
                RaiseInvalidValue();
        }
    }

    double ReadFloatPayload(int tag) {
        if (tag == vaExtended) {
            std::uint8_t bytes[10];
            Stream.ReadBuffer(bytes, sizeof bytes);
            return ExtendedToDouble(bytes);
        }
        if (tag == vaSingle) {
            const std::uint32_t bits = Stream.ReadU32();
            float value = 0;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        if (tag == vaCurrency || tag == vaDate) {
            std::uint64_t bits = Stream.ReadU32();
            bits |= static_cast<std::uint64_t>(Stream.ReadU32()) << 32;
            if (tag == vaCurrency) {  // fixed point, four decimals
                return static_cast<double>(static_cast<std::int64_t>(bits)) / 10000.0;
            }
            double value = 0;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        return static_cast<double>(ReadIntegerPayload(tag));
    }

    std::int64_t ReadEnumerationPayload(int tag, const std::vector<std::string>& names) {
        if (tag != vaIdent) {
            RaiseInvalidValue();
        }
        return IdentifierIndex(ReadShortString(), names);
    }

    std::int64_t ReadSetPayload(int tag, const std::vector<std::string>& names) {
        if (tag != vaSet) {
            RaiseInvalidValue();
        }
        std::uint64_t bits = 0;
        for (std::string member = ReadShortString(); !member.empty(); member = ReadShortString()) {
            bits |= std::uint64_t{1} << IdentifierIndex(member, names);
        }
        return static_cast<std::int64_t>(bits);
    }

    static int IdentifierIndex(const std::string& ident, const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size() && i < 64; ++i) {
            if (SameText(ident, names[i].c_str())) {
                return static_cast<int>(i);
            }
        }
        RaiseInvalidValue();
    }

    // A collection read twice drops the items of the first reading: they get no notification.
    void ForgetItemsOf(TCollectionBase& collection) {
        std::unordered_set<const TPersistent*> items;
        for (int i = 0; i < collection.Count(); ++i) {
            items.insert(&collection.ItemAt(i));
        }
        std::erase_if(ReadObjects, [&items](const TPersistent* object) { return items.contains(object); });
    }

    // Items until tag 0; an order integer may precede an item's list tag.
    void ReadCollection(TCollectionBase& collection) {
        if (PeekTag() == vaNull) {
            Stream.ReadU8();
            return;
        }
        ForgetItemsOf(collection);
        collection.Clear();
        while (PeekTag() != vaNull) {
            int tag = Stream.ReadU8();
            if (IsIntegerTag(tag)) {
                ReadIntegerPayload(tag);
                tag = Stream.ReadU8();
            }
            if (tag != vaList) {
                RaiseInvalidValue();
            }
            TPersistent& item = collection.AddItem();
            try {
                ReadPropertyRecords(item);
            } catch (...) {
                collection.Delete(collection.Count() - 1);
                throw;
            }
            ReadObjects.push_back(&item);
        }
        Stream.ReadU8();
    }
};

}  // namespace

void ReadResourceHeader(TMemoryStream& stream) {
    const std::size_t start = stream.Position();
    std::uint8_t window[ResourceHeaderWindow] = {};
    const std::size_t got = stream.Read(window, sizeof window);
    if (got < 4 || window[0] != 0xFF || window[1] != 10 || window[2] != 0) {
        throw EInvalidStreamFormat("Invalid stream format");
    }
    const auto* zero = std::find(window + 3, window + got, std::uint8_t{0});
    if (zero == window + got) {
        throw EInvalidStreamFormat("Invalid stream format");
    }
    const auto nameLength = static_cast<std::size_t>(zero - (window + 3));
    stream.Seek(start + nameLength + 10);
}

namespace {

void ReadSignature(TMemoryStream& stream) {
    char signature[4] = {};
    if (stream.Read(signature, 4) != 4 || std::memcmp(signature, "TPF0", 4) != 0) {
        throw EInvalidStreamFormat("Invalid stream format");
    }
}

}  // namespace

void ReadComponent(TMemoryStream& stream, TComponent& root) {
    ReadSignature(stream);
    TReader(stream).ReadRoot(root);
}

std::string ReadRootClassName(TMemoryStream& stream) {
    ReadResourceHeader(stream);
    ReadSignature(stream);
    return TReader(stream).ReadPrefixAndClassName();
}

void ReadComponentResource(TMemoryStream& stream, TComponent& root) {
    ReadResourceHeader(stream);
    ReadComponent(stream, root);
}

double ExtendedToDouble(const std::uint8_t bytes[10]) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) {
        mantissa = (mantissa << 8) | bytes[i];
    }
    const int exponent = ((bytes[9] & 0x7F) << 8) | bytes[8];
    const bool negative = (bytes[9] & 0x80) != 0;
    double value = 0;
    if (exponent == 0x7FFF) {
        value = (mantissa << 1) == 0 ? HUGE_VAL : std::nan("");
    } else if (mantissa != 0) {
        value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    }
    return negative ? -value : value;
}

void DoubleToExtended(double value, std::uint8_t bytes[10]) {
    std::memset(bytes, 0, 10);
    const bool negative = std::signbit(value);
    value = std::fabs(value);
    std::uint64_t mantissa = 0;
    int exponent = 0;
    if (std::isinf(value) || std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = std::isnan(value) ? 0xC000000000000000ull : 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        const double fraction = std::frexp(value, &e);  // value = fraction * 2^e, fraction in [0.5, 1)
        mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        exponent = e - 1 + 16383;
    }
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    }
    bytes[8] = static_cast<std::uint8_t>(exponent);
    bytes[9] = static_cast<std::uint8_t>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
}
