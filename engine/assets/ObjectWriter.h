// ObjectWriter: writes a root component in the binary object-stream encoding, optionally behind
// the 16-bit resource header (type 10, upper-case name, flags 0x1030, size of the rest).
// Integers take the smallest tag that holds them; properties go out in their defined order,
// object-valued ones as dotted names ("Picture.Data"). Depends on Persistent.
#pragma once

#include <string>

#include "engine/assets/Persistent.h"
#include "engine/assets/Stream.h"

void WriteComponent(TMemoryStream& stream, TComponent& root);
// The name is stored upper case and cut to 63 characters.
void WriteComponentResource(TMemoryStream& stream, TComponent& root, const std::string& resourceName);
// The properties of one object as records, without the closing tag (the collection-item body).
void WritePropertyRecords(TMemoryStream& stream, TPersistent& object);
