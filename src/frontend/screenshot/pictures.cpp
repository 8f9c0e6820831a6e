#include "frontend/screenshot/pictures.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "frontend/screenshot/heif_pictures.h"

namespace tidra::sim::shot {

namespace {

// Cairo wants native-endian 32-bit pixels with premultiplied alpha; the decoder gives RGB(A)
// bytes.
Surface surfaceFrom(GdkPixbuf* pixbuf) {
    const int w = gdk_pixbuf_get_width(pixbuf), h = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const int stride = gdk_pixbuf_get_rowstride(pixbuf);
    const bool alpha = gdk_pixbuf_get_has_alpha(pixbuf);
    const guchar* pixels = gdk_pixbuf_read_pixels(pixbuf);
    Surface surface(
        cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, w, h));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    unsigned char* out = cairo_image_surface_get_data(surface.get());
    const int outStride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < h; ++y) {
        const guchar* in = pixels + std::size_t(y) * stride;
        auto* row = reinterpret_cast<std::uint32_t*>(out + std::size_t(y) * outStride);
        for (int x = 0; x < w; ++x, in += channels) {
            std::uint32_t a = alpha ? in[3] : 255;
            auto pre = [a](guchar c) { return std::uint32_t(c) * a / 255; };
            row[x] = a << 24 | pre(in[0]) << 16 | pre(in[1]) << 8 | pre(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

}  // namespace

std::optional<std::string> pixelCountRefusal(int width, int height) {
    if (width > 0 && height > 0 && (long long)width * height <= kMaxPicturePixels)
        return std::nullopt;
    return std::to_string(width) + "x" + std::to_string(height) + " pixels: past the " +
           std::to_string(kMaxPicturePixels / 1'000'000) +
           " million a picture may have to be shown";
}

double coverScale(int width, int height, double coverWidth, double coverHeight) {
    if (coverWidth <= 0 || coverHeight <= 0 || width <= 0 || height <= 0) return 1;
    return std::min(1.0, std::max({coverWidth / width, coverHeight / height, coverWidth / height,
                                   coverHeight / width}));
}

Picture loadPicture(const std::string& realPath, double coverWidth, double coverHeight) {
    if (auto kind = heifKind(realPath))
        return loadHeifPicture(realPath, *kind, coverWidth, coverHeight);
    Picture picture;
    // The size the file claims, from its header alone.
    int claimedWidth = 0, claimedHeight = 0;
    if (!gdk_pixbuf_get_file_info(realPath.c_str(), &claimedWidth, &claimedHeight)) {
        picture.error = "not a picture that can be shown";
        return picture;
    }
    if (auto refused = pixelCountRefusal(claimedWidth, claimedHeight)) {
        picture.error = *refused;
        return picture;
    }
    double scale = coverScale(claimedWidth, claimedHeight, coverWidth, coverHeight);
    GError* error = nullptr;
    GdkPixbuf* raw = nullptr;
    if (scale < 1) {
        const int w = std::max(1, int(std::ceil(claimedWidth * scale)));
        const int h = std::max(1, int(std::ceil(claimedHeight * scale)));
        raw = gdk_pixbuf_new_from_file_at_scale(realPath.c_str(), w, h, FALSE, &error);
        scale = double(w) / claimedWidth;
    } else {
        raw = gdk_pixbuf_new_from_file(realPath.c_str(), &error);
    }
    if (!raw) {
        picture.error = error ? error->message : "cannot be decoded";
        if (error) g_error_free(error);
        return picture;
    }
    GdkPixbuf* upright = gdk_pixbuf_apply_embedded_orientation(raw);
    g_object_unref(raw);
    if (!upright) {
        picture.error = "cannot be decoded";
        return picture;
    }
    picture.surface = surfaceFrom(upright);
    picture.width = gdk_pixbuf_get_width(upright);
    picture.height = gdk_pixbuf_get_height(upright);
    picture.scale = scale;
    g_object_unref(upright);
    if (!picture.surface) picture.error = "too large to draw";
    return picture;
}

void drawPicturePlaceholder(cairo_t* cr, Box area, const std::string& name,
                            const std::string& reason) {
    cairo_save(cr);
    cairo_rectangle(cr, area.x, area.y, area.width, area.height);
    cairo_clip(cr);
    setColour(cr, Rgba{0.62, 0.62, 0.64});
    cairo_paint(cr);
    setColour(cr, Rgba{0.56, 0.56, 0.58});
    cairo_set_line_width(cr, 14);
    for (double d = -area.height; d < area.width; d += 40) {
        cairo_move_to(cr, area.x + d, area.bottom());
        cairo_line_to(cr, area.x + d + area.height, area.y);
    }
    cairo_stroke(cr);
    TextStyle title{20, true, Rgba{1, 1, 1, 1}, Align::Centre, true};
    TextStyle small{14, false, Rgba{1, 1, 1, 0.9}, Align::Centre, true};
    const double mid = area.y + area.height / 2;
    drawText(cr, name, area.x + 20, mid - 30, area.width - 40, title);
    drawText(cr, reason, area.x + 20, mid + 2, area.width - 40, small);
    cairo_restore(cr);
}

}  // namespace tidra::sim::shot
