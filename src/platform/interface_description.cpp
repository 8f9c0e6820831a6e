#include "platform/interface_description.h"

#include <cmath>
#include <limits>

namespace tidra {
namespace {

// Menus in menus and views in views deeper than any interface needs: such a file is damaged, and
// reading it on would only use up the stack.
constexpr int kDeepestNesting = 32;

struct Misshapen {
    DescriptionFault fault;
};

[[noreturn]] void refuse(std::string where, std::string problem) {
    throw Misshapen{{std::move(where), std::move(problem)}};
}

// One entry of a description: typed reads of its keys, each refusing a value of the wrong kind.
// An absent key reads as the fallback.
class Entry {
  public:
    Entry(Value node, std::string where) : node_(std::move(node)), where_(std::move(where)) {
        if (!node_.isDictionary())
            refuse(where_.empty() ? "the top level" : where_, "is not an object");
    }

    std::string at(const char* key) const { return where_.empty() ? key : where_ + "." + key; }
    bool has(const char* key) const { return find(key) != nullptr; }

    std::string text(const char* key, std::string fallback = "") const {
        const Value* v = find(key);
        if (!v) return fallback;
        if (!v->isString()) refuse(at(key), "is not a string");
        return v->string();
    }
    // The platform's Booleans are numbers: any number reads as one, non-zero being true.
    bool flag(const char* key) const {
        const Value* v = find(key);
        if (!v) return false;
        if (!v->isNumber()) refuse(at(key), "is not a Boolean");
        return v->boolValue();
    }
    std::optional<int> whole(const char* key) const {
        const Value* v = find(key);
        if (!v) return std::nullopt;
        const double d = v->realValue();
        if (!v->isNumber() || d != std::floor(d) || d < std::numeric_limits<int>::min() ||
            d > std::numeric_limits<int>::max())
            refuse(at(key), "is not a whole number");
        return static_cast<int>(d);
    }
    const Array& list(const char* key) const {
        const Value* v = find(key);
        if (!v) return kNoEntries;
        if (!v->isArray()) refuse(at(key), "is not an array");
        return v->array();
    }
    // The entry under `key`, which must then be an object; nothing when absent.
    const Value* object(const char* key) const {
        const Value* v = find(key);
        if (v && !v->isDictionary()) refuse(at(key), "is not an object");
        return v;
    }
    // "frame": [x, y, width, height].
    std::optional<Rect> frame() const {
        const Value* v = find("frame");
        if (!v) return std::nullopt;
        const Array& a = v->array();
        if (!v->isArray() || a.size() != 4 || !a[0].isNumber() || !a[1].isNumber() ||
            !a[2].isNumber() || !a[3].isNumber())
            refuse(at("frame"), "is not an array of four numbers");
        return Rect{{a[0].realValue(), a[1].realValue()}, {a[2].realValue(), a[3].realValue()}};
    }

  private:
    const Value* find(const char* key) const {
        const Dictionary& d = node_.dictionary();
        auto it = d.find(Value(key));
        return it == d.end() ? nullptr : &it->second;
    }

    inline static const Array kNoEntries;
    Value node_;
    std::string where_;
};

std::string element(const std::string& where, size_t index) {
    return where + "[" + std::to_string(index) + "]";
}

// `object` defaults to `owner`: the object that loads the description, where there is one.
std::vector<OutletDescription> readOutlets(const Entry& top, const std::string& owner) {
    std::vector<OutletDescription> outlets;
    const Array& nodes = top.list("outlets");
    for (size_t i = 0; i < nodes.size(); ++i) {
        Entry e(nodes[i], element(top.at("outlets"), i));
        outlets.push_back({e.text("object", owner), e.text("name"), e.text("destination")});
    }
    return outlets;
}

MenuDescription readMenu(const Value& node, const std::string& where, int depth) {
    Entry e(node, where);
    if (depth > kDeepestNesting) refuse(where, "nests too deeply");
    MenuDescription menu;
    menu.identifier = e.text("id");
    const Array& items = e.list("items");
    for (size_t i = 0; i < items.size(); ++i) {
        Entry it(items[i], element(e.at("items"), i));
        MenuItemDescription item;
        item.identifier = it.text("id");
        item.separator = it.flag("separator");
        item.title = it.text("title");
        item.tag = it.whole("tag").value_or(0);
        item.action = it.text("action");
        item.target = it.text("target");
        item.bindKey = it.text("bind");
        item.keyEquivalent = it.text("keyEquivalent");
        if (const Value* submenu = it.object("submenu"))
            item.submenu =
                std::make_unique<MenuDescription>(readMenu(*submenu, it.at("submenu"), depth + 1));
        menu.items.push_back(std::move(item));
    }
    return menu;
}

ViewDescription readView(const Value& node, const std::string& where, int depth) {
    Entry e(node, where);
    if (depth > kDeepestNesting) refuse(where, "nests too deeply");
    ViewDescription view;
    view.className = e.text("class", view.className);
    view.identifier = e.text("id");
    view.frame = e.frame();
    view.stringValue = e.text("stringValue");
    view.title = e.text("title");
    view.action = e.text("action");
    view.targetsOwner = e.text("target", kDescriptionOwner) == kDescriptionOwner;
    view.material = e.whole("material");
    view.blendingMode = e.whole("blendingMode");
    view.state = e.whole("state");
    view.wantsLayer = e.flag("wantsLayer");
    view.hidden = e.flag("hidden");
    if (e.has("bordered")) view.bordered = e.flag("bordered");
    view.tag = e.whole("tag").value_or(0);
    view.bindKey = e.text("bind");
    const std::string kind = e.text("buttonType", "push");
    if (kind == "switch") {
        view.buttonKind = ButtonKind::Switch;
    } else if (kind == "radio") {
        view.buttonKind = ButtonKind::Radio;
    } else if (kind != "push") {
        refuse(e.at("buttonType"), "is not one of push, switch, radio");
    }
    if (e.has("appearance")) view.appearance = e.text("appearance");
    const Array& subviews = e.list("subviews");
    for (size_t i = 0; i < subviews.size(); ++i)
        view.subviews.push_back(readView(subviews[i], element(e.at("subviews"), i), depth + 1));
    return view;
}

template <class Description, class Read>
DescriptionRead<Description> reading(Read read) {
    try {
        return read();
    } catch (const Misshapen& m) {
        return m.fault;
    }
}

}  // namespace

DescriptionRead<MainDescription> readMainDescription(const Value& description) {
    return reading<MainDescription>([&] {
        Entry top(description, "");
        MainDescription main;
        main.applicationDelegate = top.text("applicationDelegate");
        const Array& objects = top.list("objects");
        for (size_t i = 0; i < objects.size(); ++i) {
            Entry o(objects[i], element("objects", i));
            if (!o.has("class")) refuse(o.at("class"), "is missing");
            main.objects.push_back({o.text("id"), o.text("class")});
        }
        const Array& menus = top.list("menus");
        for (size_t i = 0; i < menus.size(); ++i)
            main.menus.push_back(readMenu(menus[i], element("menus", i), 0));
        main.outlets = readOutlets(top, "");
        return main;
    });
}

DescriptionRead<WindowFileDescription> readWindowDescription(const Value& description) {
    return reading<WindowFileDescription>([&] {
        Entry top(description, "");
        WindowFileDescription file;
        Entry window(description[Value("window")], "window");
        file.window.title = window.text("title");
        file.window.frame = window.frame().value_or(Rect{});
        if (const Value* content = window.object("contentView"))
            file.window.contentView = readView(*content, window.at("contentView"), 0);
        file.outlets = readOutlets(top, kDescriptionOwner);
        return file;
    });
}

DescriptionRead<ViewFileDescription> readViewDescription(const Value& description) {
    return reading<ViewFileDescription>([&] {
        Entry top(description, "");
        ViewFileDescription file;
        file.view = readView(description[Value("view")], "view", 0);
        file.outlets = readOutlets(top, kDescriptionOwner);
        return file;
    });
}

}  // namespace tidra
