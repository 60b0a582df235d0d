#pragma once
// TJPEGImage: a JPEG picture decoded through libjpeg into a 32-bit bitmap. Loads from
// memory, a file or an RCDATA resource of the program. Broken data raise
// EInvalidGraphic and leave the picture as it was. Main thread only.
#include "classlib/gui/Bitmap.h"
#include <cstddef>
#include <string>

class EInvalidGraphic : public Exception {
    using Exception::Exception;
};
class EResNotFound : public Exception {
    using Exception::Exception;
};

class TJPEGImage : public TPersistent {
public:
    void LoadFromMemory(const void* data, size_t size);
    void LoadFromFile(const std::string& fileName); // EFOpenError, EInvalidGraphic
    void LoadFromResource(const std::string& name); // RCDATA of the exe; EResNotFound

    [[nodiscard]] int Width() const { return FBitmap.Width(); }
    [[nodiscard]] int Height() const { return FBitmap.Height(); }
    [[nodiscard]] bool Empty() const { return FBitmap.Empty(); }
    // The decoded pixels.
    TBitmap& Bitmap() { return FBitmap; }

private:
    TBitmap FBitmap;
};
