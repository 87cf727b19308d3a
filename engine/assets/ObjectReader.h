// ObjectReader: reads the binary object stream (optionally behind a 16-bit resource header) into
// a root component through the properties it publishes (Persistent).
// Depends on Persistent and Stream.
//
//     TMemoryStream stream(LoadFileBytes("Data/X.dxg"));
//     ReadComponentResource(stream, root);   // header, "TPF0", root, children
//
// Errors: "Invalid stream format" (header or signature), "Stream read error" (early end),
// "Property %s does not exist", "Invalid property value", "Invalid property path",
// "Class %s not found", "''%s'' is not a valid component name"; an error inside a property
// record comes out once as "Error reading <object>.<property>: <first message>".
// Objects already created stay where they are when reading fails; a half-read collection item
// is removed.
#pragma once

#include "engine/assets/Persistent.h"
#include "engine/assets/Stream.h"

ZARVOTH_DECLARE_EXCEPTION(EInvalidStreamFormat, EFilerError);
// The wrapped "Error reading ..." error.
ZARVOTH_DECLARE_EXCEPTION(EPropertyReadError, EReadError);

// Skips the resource header: 0xFF, type 10, zero-ended name, flags, size.
void ReadResourceHeader(TMemoryStream& stream);
// Reads "TPF0" and one object into root; calls Loaded on every object read.
void ReadComponent(TMemoryStream& stream, TComponent& root);
void ReadComponentResource(TMemoryStream& stream, TComponent& root);
// The root object's class name behind the resource header and "TPF0", read as ReadComponent
// reads it (prefix and position skipped); for tools that choose the root to read into.
std::string ReadRootClassName(TMemoryStream& stream);

// 80-bit extended float conversion of tag 5 values.
double ExtendedToDouble(const std::uint8_t bytes[10]);
void DoubleToExtended(double value, std::uint8_t bytes[10]);
