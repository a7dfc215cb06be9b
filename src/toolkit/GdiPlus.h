#pragma once
// GDI+ through its flat interface, with owners for every object the toolkit makes.
#include <windows.h>
// windows.h is included lean: GDI+ needs the COM stream and property types.
#include <ole2.h>
#include <objidl.h>
#include <propidl.h>
// The C++ headers of GDI+ expect min and max from windows.h.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <memory>

#include "toolkit/Geometry.h"

namespace ui {

using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpImageAttributes;
using Gdiplus::GpPath;
using Gdiplus::GpPen;
using Gdiplus::GpStatus;
using Gdiplus::GpStringFormat;
namespace gp = Gdiplus::DllExports;

struct GraphicsDeleter {
    void operator()(GpGraphics* p) const { gp::GdipDeleteGraphics(p); }
};
struct BrushDeleter {
    void operator()(GpBrush* p) const { gp::GdipDeleteBrush(p); }
};
struct PenDeleter {
    void operator()(GpPen* p) const { gp::GdipDeletePen(p); }
};
struct PathDeleter {
    void operator()(GpPath* p) const { gp::GdipDeletePath(p); }
};
struct FontDeleter {
    void operator()(GpFont* p) const { gp::GdipDeleteFont(p); }
};
struct FamilyDeleter {
    void operator()(GpFontFamily* p) const { gp::GdipDeleteFontFamily(p); }
};
struct ImageDeleter {
    void operator()(GpImage* p) const { gp::GdipDisposeImage(p); }
};
struct AttributesDeleter {
    void operator()(GpImageAttributes* p) const { gp::GdipDisposeImageAttributes(p); }
};

using GraphicsPtr = std::unique_ptr<GpGraphics, GraphicsDeleter>;
using BrushPtr = std::unique_ptr<GpBrush, BrushDeleter>;
using PenPtr = std::unique_ptr<GpPen, PenDeleter>;
using PathPtr = std::unique_ptr<GpPath, PathDeleter>;
using FontPtr = std::unique_ptr<GpFont, FontDeleter>;
using FamilyPtr = std::unique_ptr<GpFontFamily, FamilyDeleter>;
using ImagePtr = std::unique_ptr<GpImage, ImageDeleter>;
using BitmapPtr = std::unique_ptr<GpBitmap, ImageDeleter>;
using AttributesPtr = std::unique_ptr<GpImageAttributes, AttributesDeleter>;

inline Gdiplus::RectF ToGp(const Box& b) { return Gdiplus::RectF(b.left, b.top, b.width, b.height); }

}  // namespace ui
