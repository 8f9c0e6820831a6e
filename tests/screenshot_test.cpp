// The picture of the simulated Mac: its size, each screen's desktop picture as it is in force,
// Finder's icons, the open menu and what stands in for a picture that cannot be decoded.
#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "frontend/screenshot/pictures.h"
#include "sim/desktop_pictures.h"
#include "sim_world.h"
#include "test_files.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using testing::SimWorld;

struct Colour {
    int r = 0, g = 0, b = 0;
};

bool near(Colour a, Colour b, int tolerance = 4) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

bool same(Colour a, Colour b) {
    return near(a, b);
}

std::ostream& operator<<(std::ostream& o, Colour c) {
    return o << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

constexpr Colour kGrey{0x80, 0x80, 0x80};
constexpr Colour kRed{200, 30, 40};
constexpr Colour kBlue{20, 60, 210};

// A decoded screenshot.
class Shot {
  public:
    explicit Shot(const fs::path& file)
        : surface_(cairo_image_surface_create_from_png(file.c_str())) {}
    ~Shot() { cairo_surface_destroy(surface_); }
    Shot(const Shot&) = delete;
    Shot& operator=(const Shot&) = delete;

    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    int width() const { return cairo_image_surface_get_width(surface_); }
    int height() const { return cairo_image_surface_get_height(surface_); }
    Colour at(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        std::uint32_t p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        return Colour{int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)};
    }
    // How many pixels of the rectangle differ from `c` beyond the tolerance.
    int countUnlike(Colour c, int x0, int y0, int w, int h) const {
        int n = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) n += !near(at(x, y), c, 12);
        return n;
    }

  private:
    cairo_surface_t* surface_;
};

// A picture of one colour, written on the simulated disk.
void writeSolidPicture(sim::Mac& mac, const std::string& macPath, Colour c, int w = 64,
                       int h = 40) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    fs::create_directories(fs::path(mac.disk().real(macPath)).parent_path());
    ASSERT_EQ(cairo_surface_write_to_png(s, mac.disk().real(macPath).c_str()),
              CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(s);
}

class ScreenshotTest : public ::testing::Test {
  protected:
    // Takes a picture into the test's folder; the command prints its path and size.
    // `before` and `after`: lines around it in the same script (a menu stays open only while its
    // script runs).
    std::unique_ptr<Shot> shoot(const std::string& before = "", const std::string& after = "") {
        const fs::path file = folder_ / "shot.png";
        std::string out = world_.run(before + "screenshot " + file.string() + "\n" + after);
        EXPECT_EQ(world_.lastStatus(), 0) << out;
        EXPECT_NE(out.find(file.string() + " ("), std::string::npos) << out;
        auto shot = std::make_unique<Shot>(file);
        EXPECT_TRUE(shot->ok());
        return shot;
    }
    void run(const std::string& lines) {
        std::string out = world_.run(lines);
        ASSERT_EQ(world_.lastStatus(), 0) << out;
    }

    fs::path folder_ = testing::freshTestFolder("shots");
    SimWorld world_;
};

TEST_F(ScreenshotTest, SizeFollowsTheScreensAndFilesAreNamedAndPlaced) {
    run("popover close\n");
    auto one = shoot();
    EXPECT_EQ(one->width(), 1440);
    EXPECT_EQ(one->height(), 900);

    run("display add Studio Display\n");
    auto two = shoot();
    EXPECT_EQ(two->width(), 1440 + 1920);
    EXPECT_EQ(two->height(), 1080);
    // Below the shorter main screen lies no desktop.
    EXPECT_EQ(two->countUnlike(Colour{20, 20, 20}, 0, 905, 1440, 170), 0);

    // Without a name, the next free "tidra-screenshot-N.png" of the current folder; a relative
    // name is taken from there too.
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    std::string out = world_.run("screenshot\nscreenshot\nscreenshot relative.png\n");
    fs::current_path(before);
    EXPECT_EQ(world_.lastStatus(), 0) << out;
    EXPECT_NE(out.find((folder_ / "tidra-screenshot-1.png").string() + " (3360x1080)"),
              std::string::npos)
        << out;
    EXPECT_TRUE(fs::exists(folder_ / "tidra-screenshot-2.png"));
    EXPECT_FALSE(fs::exists(folder_ / "tidra-screenshot-3.png"));
    EXPECT_TRUE(fs::exists(folder_ / "relative.png"));

    out = world_.run("screenshot " + (folder_ / "missing" / "x.png").string() + "\n");
    EXPECT_EQ(world_.lastStatus(), 2);
    EXPECT_NE(out.find("cannot write " + (folder_ / "missing" / "x.png").string() +
                       ": No such file or directory"),
              std::string::npos)
        << out;
}

TEST_F(ScreenshotTest, EachScreenShowsThePictureInForceGreyWhileHiddenAndItsOwnAfter) {
    sim::Mac& mac = world_.mac();
    writeSolidPicture(mac, "/Users/me/Pictures/red.png", kRed);
    writeSolidPicture(mac, "/Users/me/Pictures/blue.png", kBlue);
    run("popover close\n"
        "display add\n"
        "wallpaper set 1 ~/Pictures/red.png\n"
        "wallpaper set 2 ~/Pictures/blue.png\n"
        "menu Wallpaper > Grey\n");
    // Away from the menu bar, Finder's windows and icons.
    auto mainColour = [](const Shot& s) { return s.at(40, 860); };
    auto secondColour = [](const Shot& s) { return s.at(1440 + 960, 540); };
    auto shown = shoot();
    EXPECT_PRED2(same, mainColour(*shown), kRed) << mainColour(*shown);
    EXPECT_PRED2(same, secondColour(*shown), kBlue) << secondColour(*shown);

    run("click\nwait 6\n");
    auto hidden = shoot();
    EXPECT_PRED2(same, mainColour(*hidden), kGrey) << mainColour(*hidden);
    EXPECT_PRED2(same, secondColour(*hidden), kGrey) << secondColour(*hidden);
    // Under its menu bar and right of the edge between the displays, all grey.
    EXPECT_EQ(hidden->countUnlike(kGrey, 1440 + 2, 24, 1920 - 2, 1080 - 24), 0);

    run("click\nwait 3\n");
    auto back = shoot();
    EXPECT_PRED2(same, mainColour(*back), kRed) << mainColour(*back);
    EXPECT_PRED2(same, secondColour(*back), kBlue) << secondColour(*back);
}

TEST_F(ScreenshotTest, PicturesArePlacedAsTheirOptionsSayAndUnreadableOnesAreNamed) {
    sim::Mac& mac = world_.mac();
    writeSolidPicture(mac, "/Users/me/Pictures/small.png", kRed, 200, 100);
    run("popover close\ndisplay add\nwallpaper set 2 ~/Pictures/small.png\n");
    auto options = [](int scaling) {
        return Value(Dictionary{{Value("NSWorkspaceDesktopImageScalingKey"), Value(scaling)},
                                {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(false)},
                                {Value("NSWorkspaceDesktopImageFillColorKey"),
                                 Value("sRGB IEC61966-2.1 colorspace 0 0.5 0 1")}});
    };
    const int cx = 1440 + 960, cy = 540;
    const Colour fill{0, 128, 0};
    // Centred at its own size, the fill colour around it.
    ASSERT_TRUE(mac.simScreens().setOptions(2, options(2)));
    auto centred = shoot();
    EXPECT_PRED2(same, centred->at(cx, cy), kRed);
    EXPECT_PRED2(same, centred->at(cx + 110, cy), fill);
    EXPECT_PRED2(same, centred->at(cx + 90, cy + 45), kRed);
    // Stretched over the whole screen.
    ASSERT_TRUE(mac.simScreens().setOptions(2, options(1)));
    auto stretched = shoot();
    EXPECT_EQ(stretched->countUnlike(kRed, 1440 + 2, 24, 1920 - 2, 1080 - 24), 0);
    // Fitted without clipping: as wide as the screen, bands of fill above and below.
    ASSERT_TRUE(mac.simScreens().setOptions(2, options(3)));
    auto fitted = shoot();
    EXPECT_PRED2(same, fitted->at(1440 + 5, cy), kRed);
    EXPECT_PRED2(same, fitted->at(cx, 40), fill);

    // A file that is no picture at all: a neutral pattern with its name, not a crash.
    fs::create_directories(mac.disk().real("/Users/me/Pictures"));
    std::ofstream(mac.disk().real("/Users/me/Pictures/broken.jpg")) << "not a JPEG";
    run("wallpaper set 2 ~/Pictures/broken.jpg\n");
    auto broken = shoot();
    Colour c = broken->at(1440 + 30, 1000);
    EXPECT_TRUE(c.r == c.g && c.r > 130 && c.r < 170) << c;
    EXPECT_GT(broken->countUnlike(c, 1440, 0, 1920, 1080), 1000);  // stripes and the name
}

TEST_F(ScreenshotTest, DesktopIconsWhileFinderDrawsThemAndTheMenuWhileItIsOpen) {
    sim::Mac& mac = world_.mac();
    writeSolidPicture(mac, "/Users/me/Pictures/red.png", kRed);
    run("popover close\nwallpaper set 1 ~/Pictures/red.png\n");
    // The column of icons at the top-right corner, under the menu bar.
    const int iconsX = 1440 - 116, iconsY = 30, iconsW = 100, iconsH = 500;
    auto cluttered = shoot();
    EXPECT_GT(cluttered->countUnlike(kRed, iconsX, iconsY, iconsW, iconsH), 2000);
    run("click\nwait 3\n");
    auto clean = shoot();
    EXPECT_EQ(clean->countUnlike(kRed, iconsX, iconsY, iconsW, iconsH), 0);

    // The menu opens under the status item and reaches into the icons' corner; its submenu opens
    // to its left.
    const int menuX = 1200, menuY = 40, menuW = 200, menuH = 150;
    EXPECT_EQ(clean->countUnlike(kRed, menuX, menuY, menuW, menuH), 0);
    auto open = shoot("right-click\n", "dismiss\n");
    EXPECT_GT(open->countUnlike(kRed, menuX, menuY, menuW, menuH), menuW * menuH * 9 / 10);
    EXPECT_GT(open->countUnlike(kRed, 1040, 65, 100, 40), 3600);  // the submenu
    Colour menuColour = open->at(menuX + menuW - 5, menuY + menuH - 5);
    EXPECT_GT(menuColour.g, 200) << menuColour;  // a light menu in the light theme
    EXPECT_EQ(shoot()->countUnlike(kRed, menuX, menuY, menuW, menuH), 0);

    // In the dark theme the menu bar and the menu turn dark.
    auto dark = shoot("theme dark\nright-click\n", "dismiss\n");
    EXPECT_LT(dark->at(700, 12).g, 100);
    EXPECT_LT(dark->at(menuX + menuW - 5, menuY + menuH - 5).g, 100);
}

TEST_F(ScreenshotTest, EveryDisplayHasAMenuBarDimmedAwayFromTheMainOneAndAnEdgeToTheNext) {
    sim::Mac& mac = world_.mac();
    writeSolidPicture(mac, "/Users/me/Pictures/red.png", kRed);
    run("popover close\ndisplay add Studio Display\ndisplay add Projector\n"
        "wallpaper set 1 ~/Pictures/red.png\nwallpaper set 2 ~/Pictures/red.png\n"
        "wallpaper set 3 ~/Pictures/red.png\n");
    auto shot = shoot();
    ASSERT_EQ(shot->width(), 1440 + 1920 + 1920);
    struct Display {
        int x, width;
    };
    const Display displays[] = {{0, 1440}, {1440, 1920}, {3360, 1920}};
    const Colour mainBar = shot->at(800, 12);
    EXPECT_GT(mainBar.g, 170) << mainBar;  // the light bar over the red picture
    for (size_t i = 0; i < 3; ++i) {
        const auto [x, width] = displays[i];
        const Colour bar = shot->at(x + 800, 12);
        if (i > 0) {
            // The inactive displays' bars are there, dimmed: more of the picture shows through.
            EXPECT_GT(bar.g, 60) << i << bar;
            EXPECT_LT(bar.g, mainBar.g - 30) << i << bar;
        }
        // The system mark and the menus on the left, the status items and clock on the right.
        EXPECT_GT(shot->countUnlike(bar, x + 18, 4, 300, 16), 300) << i;
        EXPECT_GT(shot->countUnlike(bar, x + width - 140, 4, 130, 16), 60) << i;
        // Under the bar, the display's own picture.
        EXPECT_PRED2(same, shot->at(x + 800, 60), kRed) << i;
        // Where a display meets the one before it, a dark seam.
        if (i > 0) {
            for (int dx : {0, 1}) {
                const Colour seam = shot->at(x + dx, 500);
                EXPECT_TRUE(seam.r < 40 && seam.g < 40 && seam.b < 40) << i << seam;
            }
            EXPECT_PRED2(same, shot->at(x - 1, 500), kRed) << i;
            EXPECT_PRED2(same, shot->at(x + 2, 500), kRed) << i;
        }
    }
    // The system mark is an apple: solid on its left, a bite out of its right side.
    const int markX = 18, markY = 4;
    EXPECT_LT(shot->at(markX + 1, markY + 8).g, 100) << shot->at(markX + 1, markY + 8);
    EXPECT_LT(shot->at(markX + 6, markY + 12).g, 100) << shot->at(markX + 6, markY + 12);
    EXPECT_PRED2(same, shot->at(markX + 12, markY + 8), mainBar) << shot->at(markX + 12, markY + 8);
}

TEST_F(ScreenshotTest, TheDarkThemeDarkensEveryWindowAndAWindowThatCannotGrowHasNoZoom) {
    run("popover close\nfinder open Documents\nmenu Preferences…\n");
    // Finder's window cascades from (120, 90), 680 by 420; the Settings window's content lies
    // where its frame says.
    const int finderX = 120, finderY = 90;
    auto windows = world_.mac().windows().onScreen();
    ASSERT_FALSE(windows.empty());
    const Rect frame = windows.front()->frame();
    const int settingsX = int(frame.origin.x),
              settingsY = int(900 - frame.origin.y - frame.size.height);
    const int settingsBottom = settingsY + int(frame.size.height);
    // The frame is the content's; the title bar lies above it.
    const int titleTop = settingsY - 29;
    auto shades = [&](const Shot& s) {
        return std::vector<Colour>{s.at(finderX + 600, finderY + 400),  // Finder's list
                                   s.at(finderX + 60, finderY + 380),   // Finder's sidebar
                                   s.at(finderX + 340, finderY + 6),    // Finder's title bar
                                   s.at(settingsX + 8, settingsBottom - 8)};
    };
    auto light = shoot();
    for (Colour c : shades(*light)) EXPECT_GT(c.g, 180) << c;
    auto dark = shoot("theme dark\n");
    for (Colour c : shades(*dark)) EXPECT_LT(c.g, 80) << c;

    // Finder's zoom button is green; the Settings window cannot grow, so its zoom button is grey.
    const Colour finderZoom = light->at(finderX + 2 + 54, finderY + 14);
    EXPECT_TRUE(finderZoom.g > 150 && finderZoom.r < 100) << finderZoom;
    for (const Shot* s : {light.get(), dark.get()}) {
        const Colour zoom = s->at(settingsX + 2 + 54, titleTop + 14);
        EXPECT_TRUE(std::abs(zoom.r - zoom.g) < 8 && std::abs(zoom.g - zoom.b) < 8) << zoom;
        const Colour close = s->at(settingsX + 2 + 14, titleTop + 14);
        EXPECT_GT(close.r, close.g + 80) << close;
    }
}

TEST(ScreenshotSystems, FromTwentySixTheMenuBarShowsThePictureThroughAndWidgetsShowTheirContent) {
    auto barOver = [](const char* version, const std::string& widgets, const fs::path& file) {
        sim::MacOptions options;
        options.systemVersion = sim::parseSystemVersion(version);
        SimWorld w(options);
        writeSolidPicture(w.mac(), "/Users/me/Pictures/red.png", kRed);
        std::string out = w.run("popover close\nwallpaper set 1 ~/Pictures/red.png\n" + widgets +
                                "screenshot " + file.string() + "\n");
        EXPECT_EQ(w.lastStatus(), 0) << out;
        return std::make_unique<Shot>(file);
    };
    const fs::path folder = testing::freshTestFolder("shots");
    const auto sequoia = barOver("15", "", folder / "15.png");
    EXPECT_GT(sequoia->at(800, 12).g, 170) << sequoia->at(800, 12);
    const auto tahoe = barOver(
        "26", "widgets add Clock\nwidgets add Weather\nwidgets add Calendar\n", folder / "26.png");
    const Colour through = tahoe->at(800, 12);
    EXPECT_TRUE(through.r > 150 && through.g < 80) << through;
    // Over the dark red picture the menus' titles are white.
    int white = 0;
    for (int y = 4; y < 20; ++y)
        for (int x = 50; x < 350; ++x) white += tahoe->at(x, y).g > 200;
    EXPECT_GT(white, 100);

    // Small widgets, 170 points square, down the left side: a white clock face with its hands
    // meeting in the middle, a blue morning sky, a white calendar page with the day in red.
    const int left = 16, size = 170, gap = 16, top = 24 + gap;
    const Colour face = tahoe->at(left + size / 2 - 40, top + size / 2);
    EXPECT_GT(face.g, 220) << face;
    EXPECT_GT(tahoe->countUnlike(face, left + size / 2 - 30, top + size / 2 - 30, 60, 60), 200);
    // (Finder's windows begin at x 120.)
    const Colour sky = tahoe->at(left + 90, top + size + gap + 95);
    EXPECT_GT(sky.b, sky.r + 80) << sky;
    const int calendarTop = top + 2 * (size + gap);
    const Colour page = tahoe->at(left + 100, calendarTop + 90);
    EXPECT_GT(page.g, 200) << page;
    int red = 0;
    for (int y = calendarTop + 10; y < calendarTop + 28; ++y)
        for (int x = left + 14; x < left + 80; ++x) {
            const Colour c = tahoe->at(x, y);
            red += c.r > 180 && c.g < 120;
        }
    EXPECT_GT(red, 40);
}

TEST_F(ScreenshotTest, PopoverWindowsAndAlertsAreDrawnWhileTheyAreOpen) {
    sim::Mac& mac = world_.mac();
    writeSolidPicture(mac, "/Users/me/Pictures/red.png", kRed);
    run("wallpaper set 1 ~/Pictures/red.png\nclick\nwait 3\n");
    // The welcome popover hangs under the status item, dark.
    const int popX = 1150, popY = 60, popW = 150, popH = 60;
    auto welcome = shoot();
    EXPECT_GT(welcome->countUnlike(kRed, popX, popY, popW, popH), popW * popH * 3 / 4);
    EXPECT_LT(welcome->at(1428, 178).r, 100);
    run("popover close\n");
    EXPECT_EQ(shoot()->countUnlike(kRed, popX, popY, popW, popH), 0);

    // The About window: centred, dark and translucent (the red shows through, darkened). The
    // point lies right of Finder's windows.
    const int aboutX = 860, aboutY = 400;
    auto about = shoot("menu About Tidra\n");
    Colour through = about->at(aboutX, aboutY);
    EXPECT_TRUE(through.r < 120 && through.r > through.g + 10 && through.r > through.b + 10)
        << through;
    run("window close\n");
    EXPECT_PRED2(same, shoot()->at(aboutX, aboutY), kRed);

    // An alert with its buttons stands in the middle of the screen, light.
    run("quit\n");
    world_.mac().setBundlePath("/Users/me/Downloads/Tidra.app");
    ASSERT_TRUE(sim::installTidraBundle(world_.mac().disk(), "/Users/me/Downloads/Tidra.app",
                                        TIDRA_RESOURCES_DIR, "100"));
    // Its right margin, right of Finder's windows.
    const int marginX = 935, marginY = 290;
    EXPECT_EQ(shoot()->countUnlike(kRed, marginX, marginY, 10, 10), 0);
    auto alert = shoot("launch\n", "alert Do Not Move\n");
    EXPECT_EQ(alert->countUnlike(Colour{242, 242, 242}, marginX, marginY, 10, 10), 0);
}

// A PNG of a few bytes whose header claims `width` x `height` pixels.
void writeClaimingPng(const fs::path& file, std::uint32_t width, std::uint32_t height) {
    auto crc = [](const std::string& bytes) {
        std::uint32_t c = 0xffffffff;
        for (unsigned char b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >> 1) : c >> 1;
        }
        return c ^ 0xffffffff;
    };
    auto be32 = [](std::uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        return be32(std::uint32_t(data.size())) + type + data + be32(crc(type + data));
    };
    const std::string header = be32(width) + be32(height) + std::string("\x08\x02\x00\x00\x00", 5);
    // A zlib stream of nothing but zero bytes, far too short for the claim.
    const std::string data("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9);
    std::ofstream(file, std::ios::binary)
        << std::string("\x89PNG\r\n\x1a\n", 8) << chunk("IHDR", header) << chunk("IDAT", data)
        << chunk("IEND", "");
}

TEST_F(ScreenshotTest, APictureIsDecodedAtTheSizeDrawnAndOneClaimingTooManyPixelsIsRefused) {
    sim::Mac& mac = world_.mac();
    const fs::path huge = mac.disk().real("/Users/me/Pictures/huge.png");
    writeClaimingPng(huge, 30000, 30000);
    sim::shot::Picture refused = sim::shot::loadPicture(huge.string());
    EXPECT_FALSE(refused.surface);
    EXPECT_NE(refused.error.find("30000x30000 pixels"), std::string::npos) << refused.error;

    writeSolidPicture(mac, "/Users/me/Pictures/large.png", kRed, 4000, 2000);
    sim::shot::Picture small =
        sim::shot::loadPicture(mac.disk().real("/Users/me/Pictures/large.png"), 300, 100);
    ASSERT_TRUE(small.surface) << small.error;
    EXPECT_GE(small.width, 300);
    EXPECT_LE(small.width, 700);
    EXPECT_EQ(small.width, small.height * 2);
    EXPECT_NEAR(small.scale, small.width / 4000.0, 1e-9);

    // On a screen: the placeholder for the one, the other filling the screen as before.
    run("popover close\ndisplay add\nwallpaper set 1 ~/Pictures/huge.png\n"
        "wallpaper set 2 ~/Pictures/large.png\n");
    auto shot = shoot();
    Colour c = shot->at(30, 880);
    EXPECT_TRUE(c.r == c.g && c.r > 130 && c.r < 170) << c;
    EXPECT_EQ(shot->countUnlike(kRed, 1440 + 2, 24, 1920 - 2, 1080 - 24), 0);
}

TEST_F(ScreenshotTest, AFailedScreenshotLeavesTheFileThatWasThereWhole) {
    const fs::path file = folder_ / "kept.png";
    std::ofstream(file, std::ios::binary) << "an earlier picture";
    // Files may grow to 4 KiB only: writing the picture fails half way.
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string out = world_.run("screenshot " + file.string() + "\n");
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(world_.lastStatus(), 2) << out;
    EXPECT_NE(out.find("cannot write " + file.string() + ": "), std::string::npos) << out;
    EXPECT_EQ(testing::readBytes(file), "an earlier picture");
    for (const auto& e : fs::directory_iterator(folder_))
        EXPECT_EQ(e.path().filename(), "kept.png") << "left behind";
}

TEST_F(ScreenshotTest, EighteenDisplaysAreScaledDownToFitAndSaySo) {
    std::string lines = "popover close\n";
    for (int i = 0; i < 17; ++i) lines += "display add\n";
    run(lines);
    const fs::path file = folder_ / "wide.png";
    std::ofstream(file, std::ios::binary) << "an earlier picture";
    std::string out = world_.run("screenshot " + file.string() + "\n");
    ASSERT_EQ(world_.lastStatus(), 0) << out;
    EXPECT_NE(out.find(file.string() + " (32767x1038, scaled down from 34080x1080 to fit)\n"),
              std::string::npos)
        << out;
    Shot shot(file);
    ASSERT_TRUE(shot.ok());
    EXPECT_EQ(shot.width(), 32767);
    EXPECT_EQ(shot.height(), 1038);
}

TEST_F(ScreenshotTest, AFileNameIsTakenAsAShellTakesItAndEndsInPng) {
    const fs::path home = testing::freshTestFolder("home");
    const char* oldHome = std::getenv("HOME");
    const std::string saved = oldHome ? oldHome : "";
    ::setenv("HOME", home.c_str(), 1);
    std::string out = world_.run("screenshot ~/x.png\nscreenshot ~/notes\nscreenshot " +
                                 (folder_ / "Upper.PNG").string() + "\n");
    if (oldHome)
        ::setenv("HOME", saved.c_str(), 1);
    else
        ::unsetenv("HOME");
    ASSERT_EQ(world_.lastStatus(), 0) << out;
    EXPECT_NE(out.find((home / "x.png").string() + " (1440x900)\n"), std::string::npos) << out;
    EXPECT_NE(out.find((home / "notes.png").string() + " (1440x900)\n"), std::string::npos);
    EXPECT_TRUE(Shot(home / "x.png").ok());
    EXPECT_TRUE(Shot(home / "notes.png").ok());
    EXPECT_FALSE(fs::exists(home / "notes"));
    EXPECT_TRUE(Shot(folder_ / "Upper.PNG").ok());
    EXPECT_FALSE(fs::exists(fs::current_path() / "~"));
}

TEST(SamplePictures, ANewMacsPicturesAreRealImagesThatDecode) {
    SimWorld w;
    struct Expected {
        const char* path;
        int width, height;
    };
    // Each system's default picture is there to be shown.
    for (const std::string& name : sim::defaultDesktopPictureNames()) {
        const std::string file = std::string(TIDRA_SAMPLE_PICTURES_DIR) + "/" + name;
        sim::shot::Picture p = sim::shot::loadPicture(file, 168, 105);
        EXPECT_TRUE(p.surface) << name << ": " << p.error;
    }
    for (const Expected& e :
         {Expected{"/Library/Desktop Pictures/Catalina.heic", 1680, 1050},
          Expected{"/Users/me/Pictures/Mountains.jpg", 1600, 1000},
          Expected{"/Users/me/Pictures/Sunset.heic", 1600, 1000},
          Expected{"/Users/me/Desktop/Holiday Photos/beach.jpg", 1200, 800},
          Expected{"/Users/me/Desktop/Screenshot 2026-11-30 at 09.12.44.png", 960, 600}}) {
        sim::shot::Picture p = sim::shot::loadPicture(w.mac().disk().real(e.path));
        EXPECT_TRUE(p.surface) << e.path << ": " << p.error;
        EXPECT_EQ(p.width, e.width) << e.path;
        EXPECT_EQ(p.height, e.height) << e.path;
    }
}

}  // namespace
}  // namespace tidra
