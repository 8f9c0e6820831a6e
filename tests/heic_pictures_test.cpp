// HEIC pictures, the kind iPhones take and macOS ships as desktop pictures: chosen in the Custom
// Image panel, imported, put on every screen and drawn by the screenshot; a damaged one is named
// with what is wrong and harms nothing stored.
#include <cairo.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "frontend/screenshot/pictures.h"
#include "sim_world.h"
#include "test_files.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using testing::kSunset;
using testing::kSupport;
using testing::kSystemPicture;
using ::testing::Not;
using testing::SimWorld;

struct Colour {
    int r = 0, g = 0, b = 0;
};

std::ostream& operator<<(std::ostream& o, Colour c) {
    return o << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// A screenshot read back, and where each screen lies in it.
class Screenshot {
  public:
    explicit Screenshot(const fs::path& file)
        : surface_(cairo_image_surface_create_from_png(file.c_str())) {}
    ~Screenshot() { cairo_surface_destroy(surface_); }
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    bool ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
    Colour at(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        const int stride = cairo_image_surface_get_stride(surface_);
        const auto p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        return Colour{int(p >> 16 & 0xff), int(p >> 8 & 0xff), int(p & 0xff)};
    }

  private:
    cairo_surface_t* surface_;
};

struct ScreenBox {
    double x, y, width, height;
};

// The point of a screen that shows the point (fx, fy) of a picture of `pw` x `ph` pixels, when
// the picture covers the screen (scaled up or down, clipped), as a desktop picture is placed.
std::pair<int, int> covering(ScreenBox screen, double pw, double ph, double fx, double fy) {
    const double scale = std::max(screen.width / pw, screen.height / ph);
    const double left = screen.x + (screen.width - pw * scale) / 2;
    const double top = screen.y + (screen.height - ph * scale) / 2;
    return {int(std::lround(left + fx * pw * scale)), int(std::lround(top + fy * ph * scale))};
}

// Lossy coding blurs colours a little; a wrong picture is far off.
bool near(Colour a, Colour b) {
    return std::abs(a.r - b.r) <= 16 && std::abs(a.g - b.g) <= 16 && std::abs(a.b - b.b) <= 16;
}

// What the sample Sunset.heic (1600 x 1000) shows, at fractions of its width and height: the
// evening sky (right of where Finder's windows open), the sun half sunk behind the sea, and the
// dark sea.
struct Spot {
    double fx, fy;
    Colour colour;
    const char* what;
};
const Spot kSunsetSpots[] = {{0.85, 0.3, {103, 63, 81}, "sky"},
                             {0.5, 0.66, {255, 210, 120}, "sun"},
                             {0.2, 0.9, {13, 23, 65}, "sea"}};

TEST(HeicPictures, SunsetChosenInThePanelCoversEveryScreenAndTheScreenshotDrawsIt) {
    SimWorld w;
    RUN_OK(w, "popover close\ndisplay add Studio Display\n");
    const std::string original = testing::contents(w, kSunset);

    // The panel takes the photo (it has greyed it out so far) and the import copies it whole.
    std::string out = w.run("menu Custom Image...\nls\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("\n  Sunset.heic\n"));
    EXPECT_THAT(out, Not(HasSubstr("Sunset.heic  (the panel does not take it)")));
    RUN_OK(w, "panel choose Sunset.heic\nwait 1\n");
    const std::string copy = std::string(kSupport) + "/Sunset.heic";
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Sunset.heic");
    EXPECT_EQ(testing::contents(w, copy), original);
    EXPECT_EQ(testing::contents(w, kSunset), original);

    // Hidden: every screen shows it, and the screenshot draws it there.
    RUN_OK(w, "click\nwait 6\n");
    EXPECT_EQ(testing::pictures(w), (std::vector<std::string>{copy, copy}));
    const fs::path folder = testing::freshTestFolder("heic");
    const fs::path file = folder / "sunset.png";
    out = w.run("screenshot " + file.string() + "\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out, Not(HasSubstr("not shown")));
    Screenshot shot(file);
    ASSERT_TRUE(shot.ok());
    const Size main = w.mac().windows().screenFrame().size;
    // The built-in display first, the display plugged in beside it.
    for (ScreenBox screen :
         {ScreenBox{0, 0, main.width, main.height}, ScreenBox{main.width, 0, 1920, 1080}}) {
        for (const Spot& spot : kSunsetSpots) {
            const auto [x, y] = covering(screen, 1600, 1000, spot.fx, spot.fy);
            EXPECT_TRUE(near(shot.at(x, y), spot.colour))
                << spot.what << " at " << x << "," << y << " is " << shot.at(x, y) << ", not "
                << spot.colour;
        }
    }

    // A later picture of another kind clears the HEIC copy away, as any earlier import.
    RUN_OK(w, "click\nwait 6\nmenu Custom Image...\npanel choose Mountains.jpg\nwait 1\n");
    EXPECT_FALSE(fs::exists(w.mac().disk().real(copy)));
    EXPECT_TRUE(fs::exists(w.mac().disk().real(std::string(kSupport) + "/Mountains.jpg")));
}

TEST(HeicPictures, ADamagedOneIsImportedAsItIsNamedWithWhatIsWrongAndHarmsNothingStored) {
    SimWorld w;
    RUN_OK(w, "popover close\n");
    // Cut short, as a download that stopped half way leaves it.
    const std::string whole = testing::contents(w, kSunset);
    const std::string broken = whole.substr(0, whole.size() / 4);
    testing::putFile(w, "/Users/me/Pictures/Broken.heic", broken);
    RUN_OK(w, "menu Custom Image...\npanel choose Broken.heic\nwait 1\nclick\nwait 6\n");
    const std::string copy = std::string(kSupport) + "/Broken.heic";
    EXPECT_EQ(testing::contents(w, copy), broken);
    EXPECT_EQ(testing::pictures(w), std::vector<std::string>{copy});

    const fs::path file = testing::freshTestFolder("heic") / "broken.png";
    std::string out = w.run("screenshot " + file.string() + "\n");
    ASSERT_EQ(w.lastStatus(), 0) << out;
    EXPECT_THAT(out,
                HasSubstr("  not shown: Broken.heic on screen 1: the HEIC picture is damaged ("));
    // libheif's own words, on the same line and without its line break.
    EXPECT_THAT(out, ::testing::ContainsRegex("Broken.heic on screen 1: [^\n]*end of file"));
    EXPECT_THAT(out, Not(HasSubstr("\\x0A")));
    EXPECT_TRUE(Screenshot(file).ok());

    // Tidra goes on, and the screen gets its own picture back.
    EXPECT_EQ(w.status()["app"]["running"], true);
    RUN_OK(w, "click\nwait 6\n");
    EXPECT_EQ(testing::pictures(w), std::vector<std::string>{kSystemPicture});
    EXPECT_EQ(testing::contents(w, copy), broken);
    EXPECT_EQ(w.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Broken.heic");
}

// Whatever part of a HEIC file is missing or wrong, the decoder answers a picture or a reason,
// never a crash.
TEST(HeicPictures, CutOrScrambledFilesGiveAPictureOrAReason) {
    SimWorld w;
    const std::string whole = testing::contents(w, kSunset);
    ASSERT_GT(whole.size(), 4000u);
    const fs::path folder = testing::freshTestFolder("heic");
    int decoded = 0, refused = 0;
    auto attempt = [&](const std::string& bytes, const std::string& what) {
        const fs::path file = folder / "damaged.heic";
        testing::writeBytes(file, bytes);
        const sim::shot::Picture p = sim::shot::loadPicture(file.string(), 800, 500);
        if (p.surface) {
            ++decoded;
            EXPECT_GT(p.width, 0) << what;
            return;
        }
        ++refused;
        EXPECT_FALSE(p.error.empty()) << what;
        // Only a file that no longer starts as one is taken for something else.
        if (bytes.size() >= 12) {
            EXPECT_THAT(p.error, HasSubstr("HEI")) << what;
        }
    };
    for (size_t cut : {size_t(0), size_t(11), size_t(12), size_t(40), size_t(200), size_t(400),
                       whole.size() / 2, whole.size() - 1})
        attempt(whole.substr(0, cut), "cut at " + std::to_string(cut));
    // Bytes of the boxes that describe the picture, and of the coded picture itself.
    for (size_t at : {size_t(30), size_t(60), size_t(120), size_t(250), size_t(330),
                      whole.size() / 2, whole.size() - 20}) {
        std::string scrambled = whole;
        for (size_t i = at; i < std::min(at + 8, scrambled.size()); ++i) scrambled[i] ^= 0x5a;
        attempt(scrambled, "scrambled at " + std::to_string(at));
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(decoded, 0);

    // A header claiming more pixels than may be decoded is refused before any decoding.
    const size_t ispe = whole.find("ispe");
    ASSERT_NE(ispe, std::string::npos);
    std::string huge = whole;
    for (size_t field : {ispe + 8, ispe + 12})
        huge.replace(field, 4, std::string("\0\0\x75\x30", 4));
    testing::writeBytes(folder / "huge.heic", huge);
    const sim::shot::Picture p = sim::shot::loadPicture((folder / "huge.heic").string());
    EXPECT_FALSE(p.surface);
    EXPECT_EQ(p.error, "30000x30000 pixels: past the 50 million a picture may have to be shown");
}

TEST(HeicPictures, BeforeHighSierraThePanelGreysThemOutAndTheScreenCannotShowThem) {
    sim::MacOptions options;
    options.systemVersion = OperatingSystemVersion{10, 12, 6};
    SimWorld old(options);
    std::string out = old.run("popover close\nmenu Custom Image...\nls\n");
    ASSERT_EQ(old.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("  Sunset.heic  (the panel does not take it)\n"));
    out = old.run("panel choose Sunset.heic\n");
    EXPECT_NE(old.lastStatus(), 0);
    EXPECT_THAT(out, HasSubstr("the panel does not accept this type of file"));
    EXPECT_THAT(out, HasSubstr("(it takes jpg, jpeg, png, tif, tiff, bmp, gif)"));
    RUN_OK(old, "panel cancel\n");

    // The system's own picture is a JPEG it shows; a HEIC picture put on the screen by other
    // means is one it cannot decode, and shows none.
    const fs::path file = testing::freshTestFolder("heic") / "old.png";
    out = old.run("screenshot " + file.string() + "\n");
    ASSERT_EQ(old.lastStatus(), 0) << out;
    EXPECT_THAT(out, Not(HasSubstr("not shown")));
    out = old.run("wallpaper set 1 ~/Pictures/Sunset.heic\nscreenshot " + file.string() + "\n");
    ASSERT_EQ(old.lastStatus(), 0) << out;
    EXPECT_THAT(out, HasSubstr("not shown: Sunset.heic on screen 1: macOS 10.12 decodes "
                               "no HEIC pictures (10.13 and later do)"));

    // From 10.13 on the panel takes both spellings of the kind.
    sim::MacOptions highSierra;
    highSierra.systemVersion = OperatingSystemVersion{10, 13, 0};
    SimWorld newer(highSierra);
    testing::putFile(newer, "/Users/me/Pictures/Photo.HEIF", testing::contents(newer, kSunset));
    RUN_OK(newer, "popover close\nmenu Custom Image...\npanel choose Photo.HEIF\nwait 1\n");
    EXPECT_EQ(newer.defaults("xq.morv.Tidra")["replaceWallpaper"],
              "~/Library/Application Support/Tidra/Photo.HEIF");
}

}  // namespace
}  // namespace tidra
