#include "sim/widgets.h"

#include "prefs/keys.h"

namespace tidra::sim {

namespace {
constexpr const char* kWidgetsKey = "widgets";
}  // namespace

void addDesktopWidget(SimPreferences& prefs, const std::string& name) {
    Value list = prefs.domainSnapshot(kWidgetsDomain)[Value(kWidgetsKey)];
    Array widgets = list.isArray() ? list.array() : Array{};
    widgets.push_back(Value(Dictionary{{Value("name"), Value(name)}}));
    prefs.writeFromOutside(kWidgetsDomain, kWidgetsKey, Value(widgets));
    prefs.flushAll();
}

std::vector<DesktopWidget> desktopWidgets(SimPreferences& prefs) {
    const Value windowManager = prefs.domainSnapshot(prefs::kWindowManagerDomain);
    const bool stageManager = windowManager[Value("GloballyEnabled")].boolValue();
    const bool hidden = windowManager[Value(stageManager ? prefs::kStageManagerHideWidgets
                                                         : prefs::kStandardHideWidgets)]
                            .boolValue();
    std::vector<DesktopWidget> out;
    const Value list = prefs.domainSnapshot(kWidgetsDomain)[Value(kWidgetsKey)];
    if (!list.isArray()) return out;
    for (const Value& entry : list.array())
        if (entry[Value("name")].isString())
            out.push_back({entry[Value("name")].string(), !hidden});
    return out;
}

}  // namespace tidra::sim
