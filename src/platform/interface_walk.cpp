#include "platform/interface_walk.h"

#include <cmath>
#include <map>

namespace tidra {

MainInterface& MainInterface::operator=(MainInterface&& other) {
    if (this != &other) {
        release();
        delegateId_ = std::move(other.delegateId_);
        objects_ = std::move(other.objects_);
        menus_ = std::move(other.menus_);
        items_ = std::move(other.items_);
    }
    return *this;
}

Object* MainInterface::object(const std::string& identifier) const {
    for (const auto& [name, made] : objects_)
        if (name == identifier) return made.get();
    return nullptr;
}

std::shared_ptr<Menu> MainInterface::menu(const std::string& identifier) const {
    for (const auto& [name, made] : menus_)
        if (name == identifier) return made;
    return nullptr;
}

Object* MainInterface::named(const std::string& identifier) const {
    if (Object* made = object(identifier)) return made;
    if (auto made = menu(identifier)) return made.get();
    for (const auto& [name, item] : items_)
        if (name == identifier) return item.get();
    return nullptr;
}

std::vector<Object*> MainInterface::objects() const {
    std::vector<Object*> all;
    for (const auto& [name, made] : objects_) all.push_back(made.get());
    return all;
}

void MainInterface::release() {
    menus_.clear();
    items_.clear();
    while (!objects_.empty()) objects_.pop_back();
}

std::string misshapenDescriptionLine(const std::string& name, const DescriptionFault& fault) {
    return "Tidra: the interface description " + name + " is refused: " + fault.text();
}

// Builds a read main description: its objects, then its menus, then the outlets between them.
class MainInterfaceWalk {
  public:
    MainInterfaceWalk(MainInterface& built, MenuFactory& factory)
        : built_(built), factory_(factory) {}

    void build(const MainDescription& description, const ClassRegistry& classes) {
        built_.delegateId_ = description.applicationDelegate;
        for (const ObjectDescription& o : description.objects)
            built_.objects_.emplace_back(o.identifier, classes.make(o.className));
        for (const MenuDescription& m : description.menus) menu(m);
        for (const OutletDescription& o : description.outlets) {
            Object* owner = built_.object(o.object);
            Object* value = built_.named(o.destination);
            if (owner != nullptr && value != nullptr) owner->setOutlet(o.name, value);
        }
    }

  private:
    std::shared_ptr<Menu> menu(const MenuDescription& description) {
        std::vector<std::shared_ptr<MenuItem>> items;
        for (const MenuItemDescription& d : description.items) {
            auto item = d.separator ? factory_.makeSeparator() : factory_.makeItem(d.title, d.tag);
            // Targets are the description's objects, made before any menu.
            if (!d.action.empty()) factory_.setAction(*item, built_.object(d.target), d.action);
            if (!d.bindKey.empty()) factory_.bind(*item, d.bindKey);
            if (!d.keyEquivalent.empty()) factory_.setKeyEquivalent(*item, d.keyEquivalent);
            if (d.submenu) factory_.setSubmenu(*item, menu(*d.submenu));
            if (!d.identifier.empty()) built_.items_.emplace_back(d.identifier, item);
            items.push_back(std::move(item));
        }
        auto made = factory_.makeMenu(items);
        if (!description.identifier.empty())
            built_.menus_.emplace_back(description.identifier, made);
        return made;
    }

    MainInterface& built_;
    MenuFactory& factory_;
};

namespace {

void translate(std::string& text, const InterfaceTexts& texts) {
    if (!text.empty() && texts) text = texts(text);
}

void translate(MenuDescription& menu, const InterfaceTexts& texts) {
    for (MenuItemDescription& item : menu.items) {
        translate(item.title, texts);
        if (item.submenu) translate(*item.submenu, texts);
    }
}

void translate(ViewDescription& view, const InterfaceTexts& texts) {
    translate(view.title, texts);
    translate(view.stringValue, texts);
    for (ViewDescription& child : view.subviews) translate(child, texts);
}

}  // namespace

std::variant<MainInterface, MainInterfaceRefusal> buildMainInterface(
    const Value& description, const std::string& name, const ClassRegistry& classes,
    MenuFactory& menus, Console& console, const InterfaceTexts& texts) {
    auto read = readMainDescription(description);
    if (auto* fault = std::get_if<DescriptionFault>(&read)) {
        console.log(misshapenDescriptionLine(name, *fault));
        return MainInterfaceRefusal{MainInterfaceRefusal::Reason::Misshapen, fault->text()};
    }
    MainDescription& main = std::get<MainDescription>(read);
    for (MenuDescription& menu : main.menus) translate(menu, texts);
    // Every class is known before the first object is made: an object's making may already
    // reach the platform (a status item in the menu bar).
    for (const ObjectDescription& o : main.objects)
        if (!classes.knows(o.className))
            return MainInterfaceRefusal{MainInterfaceRefusal::Reason::UnknownClass, o.className};
    MainInterface built;
    MainInterfaceWalk(built, menus).build(main, classes);
    return built;
}

namespace {

// Builds a read window or view description, then connects the owner's outlets to it.
class ViewWalk {
  public:
    ViewWalk(Object& owner, ViewFactory& factory) : owner_(owner), factory_(factory) {}

    // A button whose title (a translation, say) is wider than its frame grows to show it whole:
    // one that lines up with the right margin grows to the left, any other to the right.
    Rect fitted(const ViewDescription& d, Rect frame, double parentWidth) {
        const double needed = std::ceil(factory_.fittingWidth(d.buttonKind, d.title));
        if (needed <= frame.size.width) return frame;
        const double rightMargin = parentWidth - (frame.origin.x + frame.size.width);
        if (d.buttonKind == ButtonKind::Push && parentWidth > 0 && rightMargin <= 24)
            frame.origin.x -= needed - frame.size.width;
        frame.size.width = needed;
        return frame;
    }

    std::shared_ptr<View> view(const ViewDescription& d, Rect frame, double parentWidth = 0) {
        Object* target = d.targetsOwner ? &owner_ : nullptr;
        std::shared_ptr<View> made;
        if (d.className == "NSTextField") {
            made = factory_.makeLabel(d.identifier, frame, d.stringValue);
        } else if (d.className == "NSButton") {
            if (!d.title.empty()) frame = fitted(d, frame, parentWidth);
            std::shared_ptr<Button> button =
                d.buttonKind == ButtonKind::Push
                    ? factory_.makeButton(d.identifier, frame, d.title, d.action, target)
                    : factory_.makeToggle(d, frame, target);
            if (!d.bordered) button->setBordered(false);
            made = button;
        } else if (d.className == "NSImageView") {
            made = factory_.makeImageView(d.identifier, frame);
        } else if (d.className == "NSTableView") {
            made = factory_.makeList(d.identifier, frame, d.action, target);
        } else if (d.className == "ShortcutRecorder") {
            made = factory_.makeShortcutRecorder(d.identifier, frame, d.action, target);
        } else if (d.className == "NSVisualEffectView") {
            auto effect = factory_.makeVisualEffectView(d.identifier, frame);
            if (d.material) effect->setMaterial(*d.material);
            if (d.blendingMode) effect->setBlendingMode(*d.blendingMode);
            if (d.state) effect->setState(*d.state);
            made = effect;
        } else {
            made = factory_.makeView(d.className, d.identifier, frame);
        }
        if (d.wantsLayer) made->setWantsLayer(true);
        if (d.hidden) made->setHidden(true);
        if (d.appearance) made->setAppearance(*d.appearance);
        for (const ViewDescription& child : d.subviews)
            made->addSubview(view(child, child.frame.value_or(Rect{}), frame.size.width));
        if (!d.identifier.empty()) byId_[d.identifier] = made.get();
        return made;
    }

    void connect(const std::vector<OutletDescription>& outlets) {
        for (const OutletDescription& o : outlets) {
            if (o.object != kDescriptionOwner) continue;
            auto found = byId_.find(o.destination);
            owner_.setOutlet(o.name, found == byId_.end() ? nullptr : found->second);
        }
    }

  private:
    Object& owner_;
    ViewFactory& factory_;
    std::map<std::string, Object*> byId_;
};

// What was read, or nothing after one line naming the misshapen entry.
template <class File>
File* readOrRefused(DescriptionRead<File>& read, const std::string& name, Console& console) {
    if (const auto* fault = std::get_if<DescriptionFault>(&read)) {
        console.log(misshapenDescriptionLine(name, *fault));
        return nullptr;
    }
    return &std::get<File>(read);
}

}  // namespace

std::shared_ptr<Window> buildWindow(const Value& description, const std::string& name,
                                    Object& owner, ViewFactory& views, Console& console,
                                    const InterfaceTexts& texts) {
    if (description[Value("window")].isNil()) return nullptr;
    auto read = readWindowDescription(description);
    auto* found = readOrRefused(read, name, console);
    if (!found) return nullptr;
    WindowFileDescription& file = *found;
    translate(file.window.title, texts);
    translate(file.window.contentView, texts);
    ViewWalk walk(owner, views);
    // The content view fills the window unless the description says otherwise.
    const ViewDescription& content = file.window.contentView;
    auto contentView = walk.view(content, content.frame.value_or(Rect{{}, file.window.frame.size}));
    auto window = views.makeWindow(file.window.title, file.window.frame, std::move(contentView));
    walk.connect(file.outlets);
    return window;
}

std::shared_ptr<View> buildView(const Value& description, const std::string& name, Object& owner,
                                ViewFactory& views, Console& console, const InterfaceTexts& texts) {
    if (description[Value("view")].isNil()) return nullptr;
    auto read = readViewDescription(description);
    auto* found = readOrRefused(read, name, console);
    if (!found) return nullptr;
    ViewFileDescription& file = *found;
    translate(file.view, texts);
    ViewWalk walk(owner, views);
    auto view = walk.view(file.view, file.view.frame.value_or(Rect{}));
    walk.connect(file.outlets);
    return view;
}

}  // namespace tidra
