#pragma once
// Owner of one GDI+ picture: from bytes, files, icons or bitmaps; frames of animated GIFs.
#include <windows.h>

#include <string_view>
#include <vector>

#include "toolkit/GdiPlus.h"

namespace ui {

class UiImage {
public:
    UiImage() = default;
    ~UiImage() { Dispose(); }
    // A picture has one owner; hand it on by moving.
    UiImage(const UiImage&) = delete;
    UiImage& operator=(const UiImage&) = delete;
    UiImage(UiImage&& other) noexcept;
    UiImage& operator=(UiImage&& other) noexcept;

    void Dispose();
    // Every load starts by disposing, so a failed load leaves the object empty.
    GpImage* LoadFromMemory(std::string_view bytes);
    GpImage* LoadFromFile(const std::wstring& path);
    bool CreateBitmap(int width, int height, int stride = 0, Gdiplus::PixelFormat format = PixelFormat32bppARGB,
                      BYTE* pixels = nullptr);
    GpImage* LoadFromIcon(HICON icon);
    GpImage* LoadFromHBitmap(HBITMAP bitmap);

    GpImage* GetHandle() const { return image_; }
    // Adopts a handle; the previous one is not released (the caller still owns it).
    void SetHandle(GpImage* image) { image_ = image; }
    bool Empty() const { return image_ == nullptr; }

    int Width() const;
    int Height() const;
    Argb GetPixel(int x, int y) const;
    int FrameCount() const;
    // Delays in hundredths of a second, one per frame; false when the picture has none.
    bool FrameDelays(std::vector<int>* delays) const;
    bool SelectFrame(int index);
    GpStatus RotateFlip(Gdiplus::RotateFlipType type);

private:
    GpImage* image_ = nullptr;
    // GDI+ reads a picture loaded from a stream for its whole life, so the bytes stay with it.
    HGLOBAL memory_ = nullptr;
    IStream* stream_ = nullptr;
    // Icon pixels the picture is built over.
    std::vector<BYTE> pixels_;
};

}  // namespace ui
