// JPEGImage: decoding a JPEG/JFIF stream to colour values with libjpeg (decompression only).
// Corrupt data raises "JPEG error #%d" with libjpeg's message code; sizes are checked against
// the picture limits before the decoder allocates its buffers. Depends on DIB.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/images/DIB.h"

ZARVOTH_DECLARE_EXCEPTION(EJPEGError, EInvalidGraphic);

TPixelImage DecodeJPEG(const std::vector<std::uint8_t>& data);
