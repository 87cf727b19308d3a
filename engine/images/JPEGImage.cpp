// JPEGImage: libjpeg decompression with a longjmp error manager. The decoding function keeps
// only trivially destructible locals between setjmp and the library calls, so a jump back
// skips no destructor.
#include "engine/images/JPEGImage.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// A hostile stream can declare many progressive scans, each a full pass over the picture.
constexpr long MaxScans = 256;
constexpr long MaxDecoderMemory = 512L * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

void ExitOnError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->Jump, 1); }
void IgnoreMessage(j_common_ptr, int) {}

void LimitScans(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > MaxScans) {
        decompress->err->msg_code = JERR_NOTIMPL;
        ExitOnError(info);
    }
}

// False with libjpeg's message code when decoding fails.
bool Decode(const std::vector<std::uint8_t>& data, TPixelImage& image, std::vector<JSAMPLE>& row, int& code) {
    jpeg_decompress_struct info {};
    ErrorManager errors {};
    jpeg_progress_mgr progress {};
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = ExitOnError;
    errors.Base.emit_message = IgnoreMessage;
    progress.progress_monitor = LimitScans;
    if (setjmp(errors.Jump) != 0) {
        code = errors.Base.msg_code;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    info.mem->max_memory_to_use = MaxDecoderMemory;
    jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    const std::int64_t width = info.image_width;
    const std::int64_t height = info.image_height;
    if (width > MaxPictureSide || height > MaxPictureSide ||
        static_cast<std::size_t>(width * height) > MaxPicturePixels) {
        code = JERR_IMAGE_TOO_BIG;
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image.Width = static_cast<int>(info.output_width);
    image.Height = static_cast<int>(info.output_height);
    image.Pixels.assign(static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height), 0);
    row.resize(static_cast<std::size_t>(image.Width) * 3);
    while (info.output_scanline < info.output_height) {
        const auto y = static_cast<std::size_t>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        TColor* out = image.Pixels.data() + y * static_cast<std::size_t>(image.Width);
        for (int x = 0; x < image.Width; ++x) {
            out[x] = RGB(row[3 * static_cast<std::size_t>(x)], row[3 * static_cast<std::size_t>(x) + 1],
                         row[3 * static_cast<std::size_t>(x) + 2]);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

TPixelImage DecodeJPEG(const std::vector<std::uint8_t>& data) {
    TPixelImage image;
    std::vector<JSAMPLE> row;
    int code = 0;
    if (Decode(data, image, row, code)) {
        return image;
    }
    throw EJPEGError(Format("JPEG error #%d", code));
}
