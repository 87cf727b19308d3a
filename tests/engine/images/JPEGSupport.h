// JPEGSupport: test-side libjpeg use — compressing a picture to a JPEG stream and decoding one
// with the library's defaults, as reference for the engine's decoder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "engine/assets/Classes.h"

inline std::vector<std::uint8_t> CompressJPEG(int width, int height, const std::vector<TColor>& pixels, bool gray = false) {
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            const TColor c = pixels[info.next_scanline * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            if (gray) {
                row[static_cast<std::size_t>(x)] = static_cast<JSAMPLE>(GetGValue(c));
            } else {
                row[3 * static_cast<std::size_t>(x)] = static_cast<JSAMPLE>(GetRValue(c));
                row[3 * static_cast<std::size_t>(x) + 1] = static_cast<JSAMPLE>(GetGValue(c));
                row[3 * static_cast<std::size_t>(x) + 2] = static_cast<JSAMPLE>(GetBValue(c));
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> data(buffer, buffer + size);
    std::free(buffer);
    return data;
}

// libjpeg's own RGB decoding of a valid stream.
inline std::vector<TColor> ReferenceDecodeJPEG(const std::vector<std::uint8_t>& data) {
    jpeg_decompress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    std::vector<TColor> pixels;
    std::vector<JSAMPLE> row(info.output_width * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            pixels.push_back(RGB(row[3 * x], row[3 * x + 1], row[3 * x + 2]));
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

// A smooth test picture that survives compression recognisably.
inline std::vector<TColor> GradientPixels(int width, int height) {
    std::vector<TColor> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(RGB(x * 255 / width, y * 255 / height, 128));
        }
    }
    return pixels;
}
