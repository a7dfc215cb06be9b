#include "toolkit/UiImage.h"

#include <cstring>
#include <utility>

namespace ui {

namespace {
// FrameDimensionTime
constexpr GUID kFrameDimensionTime = {0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
constexpr PROPID kPropertyFrameDelay = 0x5100;
}  // namespace

UiImage::UiImage(UiImage&& other) noexcept
    : image_(std::exchange(other.image_, nullptr)),
      memory_(std::exchange(other.memory_, nullptr)),
      stream_(std::exchange(other.stream_, nullptr)),
      pixels_(std::move(other.pixels_)) {}

UiImage& UiImage::operator=(UiImage&& other) noexcept {
    if (this != &other) {
        Dispose();
        image_ = std::exchange(other.image_, nullptr);
        memory_ = std::exchange(other.memory_, nullptr);
        stream_ = std::exchange(other.stream_, nullptr);
        pixels_ = std::move(other.pixels_);
    }
    return *this;
}

void UiImage::Dispose() {
    if (image_) {
        gp::GdipDisposeImage(image_);
        image_ = nullptr;
    }
    if (stream_) {
        stream_->Release();
        stream_ = nullptr;
    }
    if (memory_) {
        GlobalFree(memory_);
        memory_ = nullptr;
    }
    pixels_.clear();
    pixels_.shrink_to_fit();
}

GpImage* UiImage::LoadFromMemory(std::string_view bytes) {
    Dispose();
    if (bytes.empty()) return nullptr;
    memory_ = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory_) return nullptr;
    if (void* p = GlobalLock(memory_)) {
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(memory_);
    }
    GpImage* image = nullptr;
    if (CreateStreamOnHGlobal(memory_, FALSE, &stream_) == S_OK &&
        gp::GdipLoadImageFromStream(stream_, &image) == Gdiplus::Ok && image) {
        image_ = image;
        return image_;
    }
    Dispose();
    return nullptr;
}

GpImage* UiImage::LoadFromFile(const std::wstring& path) {
    Dispose();
    GpImage* image = nullptr;
    if (gp::GdipLoadImageFromFile(path.c_str(), &image) == Gdiplus::Ok) image_ = image;
    return image_;
}

bool UiImage::CreateBitmap(int width, int height, int stride, Gdiplus::PixelFormat format, BYTE* pixels) {
    Dispose();
    GpBitmap* bitmap = nullptr;
    if (gp::GdipCreateBitmapFromScan0(width, height, stride, format, pixels, &bitmap) != Gdiplus::Ok) return false;
    image_ = bitmap;
    return true;
}

GpImage* UiImage::LoadFromIcon(HICON icon) {
    Dispose();
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return nullptr;
    BITMAP colour{};
    const bool haveColour = info.hbmColor && GetObjectW(info.hbmColor, sizeof(colour), &colour) == sizeof(colour);
    bool softAlpha = false;
    if (haveColour && colour.bmBitsPixel == 32 && colour.bmWidth > 0 && colour.bmHeight > 0) {
        // Read the colour bitmap's pixels top-down; alpha only counts when some pixel is
        // neither fully clear nor fully opaque, otherwise the mask is the truth.
        const int w = colour.bmWidth, h = colour.bmHeight;
        std::vector<BYTE> bits(static_cast<size_t>(w) * h * 4);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        const bool read = GetDIBits(screen, info.hbmColor, 0, h, bits.data(), &bi, DIB_RGB_COLORS) == h;
        ReleaseDC(nullptr, screen);
        if (read) {
            for (size_t i = 3; i < bits.size(); i += 4) {
                if (bits[i] > 0 && bits[i] < 255) {
                    softAlpha = true;
                    break;
                }
            }
        }
        if (softAlpha) {
            pixels_ = std::move(bits);
            GpBitmap* bitmap = nullptr;
            if (gp::GdipCreateBitmapFromScan0(w, h, w * 4, PixelFormat32bppARGB, pixels_.data(), &bitmap) ==
                Gdiplus::Ok)
                image_ = bitmap;
            else
                pixels_.clear();
        }
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (!image_) {
        GpBitmap* bitmap = nullptr;
        if (gp::GdipCreateBitmapFromHICON(icon, &bitmap) == Gdiplus::Ok) image_ = bitmap;
    }
    return image_;
}

GpImage* UiImage::LoadFromHBitmap(HBITMAP bitmap) {
    Dispose();
    GpBitmap* out = nullptr;
    if (bitmap && gp::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &out) == Gdiplus::Ok) image_ = out;
    return image_;
}

int UiImage::Width() const {
    UINT w = 0;
    if (image_) gp::GdipGetImageWidth(image_, &w);
    return static_cast<int>(w);
}

int UiImage::Height() const {
    UINT h = 0;
    if (image_) gp::GdipGetImageHeight(image_, &h);
    return static_cast<int>(h);
}

Argb UiImage::GetPixel(int x, int y) const {
    Gdiplus::ARGB c = 0;
    if (image_) gp::GdipBitmapGetPixel(static_cast<GpBitmap*>(image_), x, y, &c);
    return c;
}

int UiImage::FrameCount() const {
    UINT n = 0;
    if (image_) gp::GdipImageGetFrameCount(image_, &kFrameDimensionTime, &n);
    return static_cast<int>(n);
}

bool UiImage::FrameDelays(std::vector<int>* delays) const {
    UINT size = 0;
    if (!image_ || gp::GdipGetPropertyItemSize(image_, kPropertyFrameDelay, &size) != Gdiplus::Ok ||
        size < sizeof(Gdiplus::PropertyItem))
        return false;
    std::vector<unsigned char> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (gp::GdipGetPropertyItem(image_, kPropertyFrameDelay, size, item) != Gdiplus::Ok) return false;
    const bool isLong = item->type == PropertyTagTypeLong || item->type == PropertyTagTypeSLONG;
    if (!isLong || item->length == 0 || !item->value) return false;
    // The value lies inside our buffer; never read past what GDI+ said it wrote.
    const auto* base = static_cast<const unsigned char*>(item->value);
    if (base < buffer.data() || base > buffer.data() + buffer.size()) return false;
    const size_t available = static_cast<size_t>(buffer.data() + buffer.size() - base);
    const size_t count = std::min<size_t>(item->length, available) / 4;
    std::vector<int> out(count);
    std::memcpy(out.data(), base, count * 4);
    if (delays) *delays = std::move(out);
    return true;
}

bool UiImage::SelectFrame(int index) {
    return image_ && index >= 0 &&
           gp::GdipImageSelectActiveFrame(image_, &kFrameDimensionTime, static_cast<UINT>(index)) == Gdiplus::Ok;
}

GpStatus UiImage::RotateFlip(Gdiplus::RotateFlipType type) {
    return image_ ? gp::GdipImageRotateFlip(image_, type) : Gdiplus::InvalidParameter;
}

}  // namespace ui
