// The screens' desktop pictures, placed as their options ask, and Finder's desktop icons.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>

#include "frontend/screenshot/heif_pictures.h"
#include "frontend/screenshot/pictures.h"
#include "frontend/screenshot/scene.h"
#include "platform/paths.h"
#include "text/ascii.h"

namespace tidra::sim::shot {

namespace {

namespace fs = std::filesystem;

// NSImageScaling values.
constexpr int kScaleProportionallyDown = 0;
constexpr int kScaleAxesIndependently = 1;
constexpr int kScaleNone = 2;

struct Placement {
    int scaling = 3;  // proportionally up or down
    bool clipping = true;
    Rgba fill{0.1176, 0.1176, 0.1176, 1};
};

// The fill colour as the platform describes it ("sRGB IEC61966-2.1 colorspace 0.1 0.2 0.3 1"):
// the last three or four numbers are its components.
std::optional<Rgba> parseColour(const std::string& text) {
    static const std::regex number(R"((\d*\.?\d+))");
    std::vector<double> values;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number);
         it != std::sregex_iterator(); ++it)
        values.push_back(std::stod((*it)[1].str()));
    // The colour space's own name carries numbers too; the components are the last ones.
    if (values.size() < 4) return std::nullopt;
    const size_t n = values.size();
    for (size_t i = n - 4; i < n; ++i)
        if (values[i] > 1) return std::nullopt;
    return Rgba{values[n - 4], values[n - 3], values[n - 2], values[n - 1]};
}

Placement placementFrom(const Value& options) {
    Placement p;
    if (!options.isDictionary()) return p;
    Value scaling = options[Value("NSWorkspaceDesktopImageScalingKey")];
    if (scaling.isNumber()) p.scaling = int(scaling.intValue());
    Value clipping = options[Value("NSWorkspaceDesktopImageAllowClippingKey")];
    if (clipping.isNumber()) p.clipping = clipping.boolValue();
    Value fill = options[Value("NSWorkspaceDesktopImageFillColorKey")];
    if (fill.isString())
        if (auto c = parseColour(fill.string())) p.fill = *c;
    return p;
}

// A Mac decodes HEIF pictures from 10.13 on; an older one shows them as it shows any picture it
// cannot read.
Picture loadShownPicture(Scene& scene, const std::string& realPath, double coverWidth,
                         double coverHeight) {
    const OperatingSystemVersion system = scene.mac.system().version();
    if (!system.isAtLeast(10, 13))
        if (auto kind = heifKind(realPath)) {
            Picture refused;
            refused.error = "macOS " + std::to_string(system.major) + "." +
                            std::to_string(system.minor) + " decodes no " + *kind +
                            " pictures (10.13 and later do)";
            return refused;
        }
    return loadPicture(realPath, coverWidth, coverHeight);
}

void drawWallpaper(Scene& scene, const ScreenArea& screen) {
    cairo_t* cr = scene.cr;
    const Box area = screen.box;
    const Placement placement = placementFrom(screen.info.options);
    cairo_save(cr);
    cairo_rectangle(cr, area.x, area.y, area.width, area.height);
    cairo_clip(cr);
    setColour(cr, placement.fill);
    cairo_paint(cr);
    const std::string& macPath = screen.info.wallpaper;
    if (macPath.empty()) {
        cairo_restore(cr);
        return;
    }
    // Shown at its own size, it is decoded at its own size; else no larger than the screen.
    const bool ownSize = placement.scaling == kScaleNone;
    Picture picture = loadShownPicture(scene, scene.mac.disk().real(macPath),
                                       ownSize ? 0 : area.width, ownSize ? 0 : area.height);
    if (!picture.surface) {
        const std::string name = paths::lastPathComponent(macPath);
        drawPicturePlaceholder(cr, area, name, picture.error);
        scene.unshown.push_back(
            name + " on screen " +
            (screen.info.number ? std::to_string(*screen.info.number) : screen.info.name) + ": " +
            picture.error);
        cairo_restore(cr);
        return;
    }
    // Placed by the picture's own size, drawn from the decoded one.
    const double iw = picture.width / picture.scale, ih = picture.height / picture.scale;
    double sx = 1, sy = 1;
    switch (placement.scaling) {
        case kScaleAxesIndependently:
            sx = area.width / iw;
            sy = area.height / ih;
            break;
        case kScaleNone:
            break;
        case kScaleProportionallyDown:
            sx = sy = std::min({1.0, area.width / iw, area.height / ih});
            break;
        default:
            sx = sy = placement.clipping ? std::max(area.width / iw, area.height / ih)
                                         : std::min(area.width / iw, area.height / ih);
    }
    const double x = area.x + (area.width - iw * sx) / 2, y = area.y + (area.height - ih * sy) / 2;
    cairo_translate(cr, x, y);
    cairo_scale(cr, sx / picture.scale, sy / picture.scale);
    // Clipped to the picture and padded, so that its edges stay sharp where it meets the fill
    // colour or the screen's border.
    cairo_rectangle(cr, 0, 0, picture.width, picture.height);
    cairo_clip(cr);
    cairo_set_source_surface(cr, picture.surface.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

std::string lowerExtension(const std::string& name) {
    const std::string ext = asciiLower(fs::path(name).extension().string());
    return ext.empty() ? ext : ext.substr(1);
}

bool isPictureName(const std::string& name) {
    static const std::vector<std::string> kinds = {"png", "jpg",  "jpeg", "heic", "heif",
                                                   "tif", "tiff", "gif",  "bmp"};
    return std::find(kinds.begin(), kinds.end(), lowerExtension(name)) != kinds.end();
}

void drawFolder(cairo_t* cr, Box b) {
    fillRounded(cr, Box{b.x + 4, b.y + 10, b.width * 0.42, 12}, 3, Rgba{0.36, 0.64, 0.88});
    fillRounded(cr, Box{b.x + 4, b.y + 16, b.width - 8, b.height - 24}, 4, Rgba{0.42, 0.71, 0.94});
    fillRounded(cr, Box{b.x + 4, b.y + 22, b.width - 8, b.height - 30}, 4, Rgba{0.51, 0.77, 0.97});
}

void drawDocument(cairo_t* cr, Box b, const std::string& ext) {
    const double w = b.width * 0.72, x = b.x + (b.width - w) / 2, fold = 14;
    cairo_move_to(cr, x, b.y + 2);
    cairo_line_to(cr, x + w - fold, b.y + 2);
    cairo_line_to(cr, x + w, b.y + 2 + fold);
    cairo_line_to(cr, x + w, b.bottom() - 2);
    cairo_line_to(cr, x, b.bottom() - 2);
    cairo_close_path(cr);
    setColour(cr, Rgba{0.98, 0.98, 0.98});
    cairo_fill_preserve(cr);
    setColour(cr, Rgba{0.6, 0.6, 0.62});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    std::string label = ext;
    std::transform(label.begin(), label.end(), label.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    const Rgba tint = ext == "pdf" ? Rgba{0.85, 0.22, 0.2} : Rgba{0.45, 0.45, 0.5};
    drawText(cr, label, x, b.bottom() - 24, w, TextStyle{10, true, tint, Align::Centre});
}

void drawThumbnail(Scene& scene, Box b, const std::string& realPath, const std::string& ext) {
    cairo_t* cr = scene.cr;
    Picture p = loadShownPicture(scene, realPath, b.width, b.height);
    if (!p.surface) {
        drawDocument(cr, b, ext);
        return;
    }
    const double s = std::min((b.width - 8) / p.width, (b.height - 8) / p.height);
    const double w = p.width * s, h = p.height * s;
    const Box frame{b.x + (b.width - w) / 2 - 3, b.y + (b.height - h) / 2 - 3, w + 6, h + 6};
    dropShadow(cr, frame, 2);
    fillRounded(cr, frame, 2, Rgba{1, 1, 1});
    cairo_save(cr);
    cairo_translate(cr, frame.x + 3, frame.y + 3);
    cairo_scale(cr, s, s);
    cairo_set_source_surface(cr, p.surface.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
}

// Finder's desktop: icons in columns from the top-right corner, as a new Mac arranges them.
void drawDesktopIcons(Scene& scene, const std::vector<std::string>& icons) {
    cairo_t* cr = scene.cr;
    const Box screen = scene.main();
    const double cell = 100, icon = 64, top = kMenuBarHeight + 12;
    const int perColumn = std::max(1, int((screen.height - top) / cell));
    const std::string desktop = scene.mac.disk().home() + "/Desktop/";
    for (size_t i = 0; i < icons.size(); ++i) {
        const int column = int(i) / perColumn, row = int(i) % perColumn;
        const double cx = screen.right() - 16 - cell * (column + 0.5);
        const Box b{cx - icon / 2, top + row * cell, icon, icon};
        const std::string real = scene.mac.disk().real(desktop + icons[i]);
        std::error_code ec;
        if (fs::is_directory(real, ec))
            drawFolder(cr, b);
        else if (isPictureName(icons[i]))
            drawThumbnail(scene, b, real, lowerExtension(icons[i]));
        else
            drawDocument(cr, b, lowerExtension(icons[i]));
        drawText(cr, icons[i], cx - cell / 2 + 4, b.bottom() + 4, cell - 8,
                 TextStyle{11, false, Rgba{1, 1, 1}, Align::Centre, true, 2});
    }
}

// Where a display meets the one before it, a seam: side by side, two pictures would otherwise
// read as one wide one.
void drawScreenEdges(Scene& scene) {
    cairo_t* cr = scene.cr;
    cairo_set_source_rgb(cr, 0.08, 0.08, 0.08);
    for (size_t i = 1; i < scene.screens.size(); ++i) {
        const Box b = scene.screens[i].box;
        cairo_rectangle(cr, b.x, b.y, kScreenEdge, b.height);
        cairo_fill(cr);
    }
}

}  // namespace

void paintDesktops(Scene& scene) {
    for (const auto& screen : scene.screens) drawWallpaper(scene, screen);
    drawScreenEdges(scene);
    auto finders = scene.mac.finder().instances();
    if (finders.empty() || !finders.front().ready || !finders.front().drawsDesktop) return;
    drawDesktopIcons(scene, finders.front().desktopIcons);
}

}  // namespace tidra::sim::shot
