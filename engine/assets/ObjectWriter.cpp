// ObjectWriter: tagged values for each published property kind.
#include "engine/assets/ObjectWriter.h"

#include <algorithm>
#include <cctype>

#include "engine/assets/ObjectReader.h"

namespace {

constexpr std::size_t MaxResourceName = 63;

void WriteShortString(TMemoryStream& stream, const std::string& text) {
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    stream.WriteU8(static_cast<std::uint8_t>(length));
    stream.Write(text.data(), length);
}

void WriteInteger(TMemoryStream& stream, std::int64_t value) {
    if (value >= -128 && value <= 127) {
        stream.WriteU8(vaInt8);
        stream.WriteU8(static_cast<std::uint8_t>(value));
    } else if (value >= -32768 && value <= 32767) {
        stream.WriteU8(vaInt16);
        stream.WriteU16(static_cast<std::uint16_t>(value));
    } else {
        stream.WriteU8(vaInt32);
        stream.WriteU32(static_cast<std::uint32_t>(value));
    }
}

void WriteString(TMemoryStream& stream, const std::string& text) {
    if (text.size() <= 255) {
        stream.WriteU8(vaString);
        WriteShortString(stream, text);
    } else {
        stream.WriteU8(vaLString);
        stream.WriteU32(static_cast<std::uint32_t>(text.size()));
        stream.WriteText(text);
    }
}

void WriteIdent(TMemoryStream& stream, const std::string& ident) {
    stream.WriteU8(vaIdent);
    WriteShortString(stream, ident);
}

void WriteProperties(TMemoryStream& stream, TPersistent& object, const std::string& prefix);

void WriteCollection(TMemoryStream& stream, TCollectionBase& collection) {
    stream.WriteU8(vaCollection);
    for (int i = 0; i < collection.Count(); ++i) {
        stream.WriteU8(vaList);
        WriteProperties(stream, collection.ItemAt(i), "");
        stream.WriteU8(vaNull);
    }
    stream.WriteU8(vaNull);
}

void WriteProperty(TMemoryStream& stream, TProperty& property, const std::string& prefix) {
    if (property.Kind == TPropertyKind::Object) {
        WriteProperties(stream, *property.GetObject(), prefix + property.Name + ".");
        return;
    }
    WriteShortString(stream, prefix + property.Name);
    switch (property.Kind) {
        case TPropertyKind::Integer:
            WriteInteger(stream, property.GetOrdinal());
            break;
        case TPropertyKind::Color: {
            std::string ident;
            if (ColorToIdent(static_cast<TColor>(property.GetOrdinal()), ident)) {
                WriteIdent(stream, ident);
            } else {
                WriteInteger(stream, static_cast<std::int32_t>(property.GetOrdinal()));
            }
            break;
        }
        case TPropertyKind::Boolean:
            stream.WriteU8(property.GetOrdinal() != 0 ? vaTrue : vaFalse);
            break;
        case TPropertyKind::String:
            WriteString(stream, property.GetString());
            break;
        case TPropertyKind::Float: {
            std::uint8_t bytes[10];
            DoubleToExtended(property.GetFloat(), bytes);
            stream.WriteU8(vaExtended);
            stream.Write(bytes, sizeof bytes);
            break;
        }
        case TPropertyKind::Enumeration: {
            const auto ordinal = static_cast<std::size_t>(property.GetOrdinal());
            WriteIdent(stream, ordinal < property.Identifiers.size() ? property.Identifiers[ordinal] : "");
            break;
        }
        case TPropertyKind::Reference:
            WriteIdent(stream, property.GetString());
            break;
        case TPropertyKind::Set: {
            const auto bits = static_cast<std::uint64_t>(property.GetOrdinal());
            stream.WriteU8(vaSet);
            for (std::size_t i = 0; i < property.Identifiers.size() && i < 64; ++i) {
                if ((bits >> i) & 1u) {
                    WriteShortString(stream, property.Identifiers[i]);
                }
            }
            WriteShortString(stream, "");
            break;
        }
        case TPropertyKind::Collection:
            WriteCollection(stream, *property.GetCollection());
            WriteProperties(stream, *property.GetCollection(), prefix + property.Name + ".");
            break;
        case TPropertyKind::Binary: {
            TMemoryStream payload;
            property.WriteBinary(payload);
            stream.WriteU8(vaBinary);
            stream.WriteU32(static_cast<std::uint32_t>(payload.Size()));
            stream.WriteBytes(payload.Data());
            break;
        }
        case TPropertyKind::Object:
            break;
    }
}

void WriteProperties(TMemoryStream& stream, TPersistent& object, const std::string& prefix) {
    TPropertyList list;
    object.DefineProperties(list);
    for (TProperty& property : list.All()) {
        if (property.IsStored()) {
            WriteProperty(stream, property, prefix);
        }
    }
}

void WriteObject(TMemoryStream& stream, TComponent& object) {
    WriteShortString(stream, object.ClassName());
    WriteShortString(stream, object.Name);
    WritePropertyRecords(stream, object);
    stream.WriteU8(vaNull);
    for (int i = 0; i < object.ComponentCount(); ++i) {
        WriteObject(stream, object.Components(i));
    }
    stream.WriteU8(vaNull);
}

}  // namespace

void WritePropertyRecords(TMemoryStream& stream, TPersistent& object) { WriteProperties(stream, object, ""); }

void WriteComponent(TMemoryStream& stream, TComponent& root) {
    stream.WriteText("TPF0");
    WriteObject(stream, root);
}

void WriteComponentResource(TMemoryStream& stream, TComponent& root, const std::string& resourceName) {
    std::string name = resourceName.substr(0, MaxResourceName);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
    stream.WriteU8(0xFF);
    stream.WriteU16(10);
    stream.WriteText(name);
    stream.WriteU8(0);
    stream.WriteU16(0x1030);
    const std::size_t sizeAt = stream.Position();
    stream.WriteU32(0);
    const std::size_t bodyStart = stream.Position();
    WriteComponent(stream, root);
    const std::size_t end = stream.Position();
    stream.Seek(sizeAt);
    stream.WriteU32(static_cast<std::uint32_t>(end - bodyStart));
    stream.Seek(end);
}
