#include "frontend/system_commands.h"

#include "frontend/frontend.h"
#include "sim/widgets.h"

namespace tidra::sim {

namespace {

bool hasWidgets(Mac& mac) {
    return mac.system().version().isAtLeast(14);
}

std::string authorizationName(SimUserNotificationCenter::Authorization a) {
    using A = SimUserNotificationCenter::Authorization;
    return a == A::Authorized ? "authorized" : a == A::Denied ? "denied" : "notDetermined";
}

}  // namespace

void addSystemCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("widgets", "widgets add NAME", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() < 3 || cl.words[1] != "add") f.usageError();
        if (!hasWidgets(mac))
            throw CommandError{"desktop widgets come with macOS 14; this Mac runs " +
                               systemVersionText(mac.system().version())};
        addDesktopWidget(mac.prefs(), titleFrom(cl, 2));
    });
    f.add("notifications", "notifications allow|deny", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2 || (cl.words[1] != "allow" && cl.words[1] != "deny"))
            f.usageError();
        SimUserNotificationCenter& center = mac.simUserNotifications();
        const bool allow = cl.words[1] == "allow";
        if (center.asking()) {
            mac.intoTidra([&] { center.answer(allow); });
            return;
        }
        // No question on screen: the switch in System Settings, once Tidra is listed there.
        if (!center.asksUser())
            throw CommandError{
                "notifications need no permission before macOS 10.14; this Mac "
                "runs " +
                systemVersionText(mac.system().version())};
        if (center.authorization() == SimUserNotificationCenter::Authorization::NotDetermined)
            throw CommandError{
                "Tidra has not asked to show notifications yet; it is listed in "
                "System Settings › Notifications once it has"};
        center.setAllowedInSettings(allow);
    });
    f.addStatus([&mac](nlohmann::json& s) {
        s["notificationAuthorization"] =
            authorizationName(mac.simUserNotifications().authorization());
        s["system"] = {{"version", systemVersionText(mac.system().version())},
                       {"appKitVersion", mac.system().appKitVersionNumber()}};
        nlohmann::json widgets = nlohmann::json::array();
        if (hasWidgets(mac))
            for (const auto& w : desktopWidgets(mac.prefs()))
                widgets.push_back({{"name", w.name}, {"visible", w.visible}});
        s["widgets"] = widgets;
    });
}

std::string systemStatusText(Mac& mac) {
    std::string text;
    SimUserNotificationCenter& center = mac.simUserNotifications();
    if (mac.system().version().isAtLeast(10, 14))
        text += "Notifications permission: " + authorizationName(center.authorization()) +
                (center.asking() ? " (Tidra asks: `notifications allow|deny`)" : "") + "\n";
    if (!hasWidgets(mac)) return text;
    const auto widgets = desktopWidgets(mac.prefs());
    text += std::string("Widgets:") + (widgets.empty() ? " none" : "") + "\n";
    for (const auto& w : widgets) text += "  " + w.name + (w.visible ? "" : " (hidden)") + "\n";
    return text;
}

}  // namespace tidra::sim
