#include "classlib/gui/JPEG.h"
#include "classlib/base/Streams.h"
#include "classlib/base/SysUtils.h"
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return: it jumps
// back to the decoder with the message kept. No C++ object lives between the
// setjmp and the jump.
struct TJpegError {
    jpeg_error_mgr Manager;
    jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
    auto error = reinterpret_cast<TJpegError*>(info->err);
    error->Manager.format_message(info, error->Message);
    longjmp(error->Jump, 1);
}

void NoOutput(j_common_ptr) {}

// Decodes into pixels (0x00RRGGBB, top row first); false with error->Message set.
bool Decode(const unsigned char* data, size_t size, std::vector<uint32_t>& pixels, unsigned& width,
            unsigned& height, TJpegError* error) {
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&error->Manager);
    error->Manager.error_exit = ErrorExit;
    error->Manager.output_message = NoOutput;
    if (setjmp(error->Jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRX; // the bitmap's own layout
    jpeg_start_decompress(&info);
    width = info.output_width;
    height = info.output_height;
    pixels.resize(static_cast<size_t>(width) * height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&pixels[size_t(info.output_scanline) * width]);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

void TJPEGImage::LoadFromMemory(const void* data, size_t size) {
    std::vector<uint32_t> pixels;
    unsigned width = 0, height = 0;
    TJpegError error{};
    if (!data || size == 0) throw EInvalidGraphic("JPEG image is empty");
    if (!Decode(static_cast<const unsigned char*>(data), size, pixels, width, height, &error))
        throw EInvalidGraphic(std::string("JPEG error: ") + error.Message);
    FBitmap.SetSize(static_cast<int>(width), static_cast<int>(height));
    GdiFlush();
    for (unsigned y = 0; y < height; ++y)
        std::copy_n(&pixels[size_t(y) * width], width, FBitmap.ScanLine(static_cast<int>(y)));
}

void TJPEGImage::LoadFromFile(const std::string& fileName) {
    std::string data = ReadFileToString(fileName);
    LoadFromMemory(data.data(), data.size());
}

void TJPEGImage::LoadFromResource(const std::string& name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, ToWide(name).c_str(), MAKEINTRESOURCEW(10)); // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw EResNotFound("Resource " + name + " not found");
    LoadFromMemory(data, SizeofResource(module, info));
}
