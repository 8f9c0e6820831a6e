#include "frontend/screenshot/heif_pictures.h"

#include <libheif/heif.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>

#include "text/log_text.h"

namespace tidra::sim::shot {

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(const heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(const heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

// The brands of still HEIF pictures and sequences coded with HEVC, and the general ones that
// name no coding.
constexpr std::array<const char*, 8> kHevcBrands = {"heic", "heix", "heim", "heis",
                                                    "hevc", "hevx", "hevm", "hevs"};
constexpr std::array<const char*, 2> kGeneralBrands = {"mif1", "msf1"};

bool oneOf(const std::string& brand, const auto& brands) {
    return std::find(brands.begin(), brands.end(), brand) != brands.end();
}

// libheif's words may quote bytes of the file (a box's type) and end in a line break: printable
// ASCII on one short line.
std::string plainText(const char* message) {
    std::string out;
    for (const char* p = message; p && *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        out += c >= 0x20 && c < 0x7f ? char(c) : std::isspace(c) ? ' ' : '?';
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return loggableText(out);
}

// What a failure of libheif says to a person: what is wrong, then libheif's own words.
std::string reasonFor(const heif_error& error, const std::string& kind) {
    const std::string detail = plainText(error.message);
    switch (error.code) {
        case heif_error_Unsupported_feature:
        case heif_error_Unsupported_filetype:
            if (error.subcode == heif_suberror_Unsupported_codec)
                return "no decoder for this " + kind + " picture's coding is installed (" + detail +
                       ")";
            return "a " + kind + " picture of a kind that cannot be decoded (" + detail + ")";
        case heif_error_Memory_allocation_error:
            return "the " + kind + " picture is too large to decode (" + detail + ")";
        default:
            return "the " + kind + " picture is damaged (" + detail + ")";
    }
}

// One decoder set-up for the process: libheif wants it before its first use.
void initialiseOnce() {
    static const bool ready = [] {
        heif_init(nullptr);
        return true;
    }();
    (void)ready;
}

// Cairo's native-endian 32-bit pixels, premultiplied, from libheif's interleaved RGB(A) rows.
Surface surfaceFrom(const heif_image& image, int width, int height, bool alpha,
                    bool premultiplied) {
    int stride = 0;
    const std::uint8_t* pixels =
        heif_image_get_plane_readonly(&image, heif_channel_interleaved, &stride);
    if (!pixels || stride <= 0) return nullptr;
    Surface surface(cairo_image_surface_create(alpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                               width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    unsigned char* out = cairo_image_surface_get_data(surface.get());
    const int outStride = cairo_image_surface_get_stride(surface.get());
    const int channels = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = pixels + std::size_t(y) * stride;
        auto* row = reinterpret_cast<std::uint32_t*>(out + std::size_t(y) * outStride);
        for (int x = 0; x < width; ++x, in += channels) {
            const std::uint32_t a = alpha ? in[3] : 255;
            auto pre = [a, premultiplied](std::uint8_t c) {
                return premultiplied ? std::min<std::uint32_t>(c, a) : std::uint32_t(c) * a / 255;
            };
            row[x] = a << 24 | pre(in[0]) << 16 | pre(in[1]) << 8 | pre(in[2]);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

// The picture drawn smaller: libheif decodes at full size only.
Surface scaledDown(cairo_surface_t* full, int width, int height, double scale) {
    Surface small(cairo_image_surface_create(cairo_image_surface_get_format(full), width, height));
    if (cairo_surface_status(small.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_t* cr = cairo_create(small.get());
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, full, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return small;
}

}  // namespace

std::optional<std::string> heifKind(const std::string& realPath) {
    std::ifstream in(realPath, std::ios::binary);
    std::array<char, 12> head{};
    if (!in.read(head.data(), head.size())) return std::nullopt;
    // An ISO media file starts with its 'ftyp' box: size, type, then the major brand.
    if (std::string(head.data() + 4, 4) != "ftyp") return std::nullopt;
    const std::string brand(head.data() + 8, 4);
    if (oneOf(brand, kHevcBrands)) return "HEIC";
    if (oneOf(brand, kGeneralBrands)) return "HEIF";
    return std::nullopt;
}

Picture loadHeifPicture(const std::string& realPath, const std::string& kind, double coverWidth,
                        double coverHeight) {
    initialiseOnce();
    Picture picture;
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) {
        picture.error = "the " + kind + " decoder could not start";
        return picture;
    }
    heif_error error = heif_context_read_from_file(context.get(), realPath.c_str(), nullptr);
    if (error.code != heif_error_Ok) {
        picture.error = reasonFor(error, kind);
        return picture;
    }
    heif_image_handle* rawHandle = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    std::unique_ptr<const heif_image_handle, HandleRelease> handle(rawHandle);
    if (error.code != heif_error_Ok || !handle) {
        picture.error = reasonFor(error, kind);
        return picture;
    }
    // The size the header claims, before anything is decoded.
    const int claimedWidth = heif_image_handle_get_width(handle.get());
    const int claimedHeight = heif_image_handle_get_height(handle.get());
    if (auto refused = pixelCountRefusal(claimedWidth, claimedHeight)) {
        picture.error = *refused;
        return picture;
    }
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    // Deeper colour (10-bit HEIC) comes down to the 8 bits a screenshot holds. Rotation,
    // mirroring and cropping stay on: the picture shows upright, as on a Mac.
    if (options) options->convert_hdr_to_8bit = 1;
    heif_image* rawImage = nullptr;
    error = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                              options.get());
    std::unique_ptr<const heif_image, ImageRelease> image(rawImage);
    if (error.code != heif_error_Ok || !image) {
        picture.error = reasonFor(error, kind);
        return picture;
    }
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (width <= 0 || height <= 0 ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8) {
        picture.error = "the " + kind + " picture is damaged (it decodes to no 8-bit picture)";
        return picture;
    }
    Surface full = surfaceFrom(*image, width, height, alpha,
                               heif_image_handle_is_premultiplied_alpha(handle.get()) != 0);
    image.reset();
    if (!full) {
        picture.error = "too large to draw";
        return picture;
    }
    const double scale = coverScale(width, height, coverWidth, coverHeight);
    if (scale < 1) {
        const int w = std::max(1, int(std::ceil(width * scale)));
        const int h = std::max(1, int(std::ceil(height * scale)));
        picture.scale = double(w) / width;
        picture.surface = scaledDown(full.get(), w, h, picture.scale);
        picture.width = w;
        picture.height = h;
    } else {
        picture.surface = std::move(full);
        picture.width = width;
        picture.height = height;
    }
    if (!picture.surface) picture.error = "too large to draw";
    return picture;
}

}  // namespace tidra::sim::shot
