// The simulated window server and view hierarchy that the About window and the popover rely on.
#include <gtest/gtest.h>

#include "sim/interface/ui.h"
#include "sim/interface/views.h"
#include "sim/interface/windows.h"

namespace tidra::sim {
namespace {

TEST(SimViews, AddingAViewMovesItAndVisualFormatsPinOnlyWhatTheyName) {
    auto first = std::make_shared<SimView>("NSView", "first", Rect{});
    auto second = std::make_shared<SimView>("NSView", "second", Rect{});
    auto child = std::make_shared<SimTextField>("child", Rect{{0, 0}, {10, 10}}, "x");
    auto other = std::make_shared<SimView>("NSView", "other", Rect{});
    first->addSubview(child);
    first->addSubview(other);
    second->addSubview(child->retained());
    EXPECT_EQ(first->subviews(), (std::vector<std::shared_ptr<View>>{other}));
    EXPECT_EQ(second->subviews(), (std::vector<std::shared_ptr<View>>{child}));
    EXPECT_EQ(child->superview(), second.get());
    first->addSubview(first);  // a view never contains itself
    EXPECT_EQ(first->subviews().size(), 1u);

    const std::map<std::string, View*> views{{"child", child.get()}};
    auto h = constraintsWithVisualFormat("|[child]|", views);
    ASSERT_TRUE(h);
    ASSERT_EQ(h->size(), 2u);
    EXPECT_EQ((*h)[0].second, second.get());
    EXPECT_TRUE(constraintsWithVisualFormat("V:|[child]|", views));
    EXPECT_FALSE(constraintsWithVisualFormat("|[missing]|", views));
    EXPECT_FALSE(constraintsWithVisualFormat("|-8-[child]|", views));
    EXPECT_EQ(viewWithIdentifier(second.get(), "child"), child.get());
}

TEST(SimWindows, HigherLevelsStayInFrontAndClosingHandsOnTheKey) {
    SimWindowList list;
    auto plain = std::make_unique<SimWindow>(list, "A", Rect{{0, 0}, {100, 100}}, "Plain");
    auto about = std::make_unique<SimWindow>(list, "B", Rect{{0, 0}, {100, 100}}, "");
    SimUi ui(nullptr, nullptr);
    about->setLevel(ui.windowLevelForKey(kMaximumWindowLevelKey));
    about->makeKeyAndOrderFront(nullptr);
    plain->makeKeyAndOrderFront(nullptr);
    EXPECT_EQ(list.onScreen(), (std::vector<SimWindow*>{about.get(), plain.get()}));
    EXPECT_TRUE(plain->isKey());
    plain->close();
    EXPECT_FALSE(plain->isVisible());
    EXPECT_TRUE(about->isKey());

    EXPECT_EQ(list.find("Plain"), plain.get());
    EXPECT_EQ(list.find("1"), about.get());
    EXPECT_EQ(list.find("2"), nullptr);
    EXPECT_EQ(list.find("99999999999999999999"), nullptr);
    about->center();
    EXPECT_EQ(about->frame().origin, (Point{670, 400}));

    about.reset();  // a window that goes away leaves the list
    EXPECT_EQ(list.windows(), std::vector<SimWindow*>{plain.get()});
    EXPECT_EQ(list.keyWindow(), nullptr);
    EXPECT_EQ(ui.makeOpenPanel(), nullptr);
}

}  // namespace
}  // namespace tidra::sim
