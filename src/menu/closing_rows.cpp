#include "menu/closing_rows.h"

#include <algorithm>

namespace tidra {

void ClosingRows::capture(View& container) {
    std::vector<std::pair<View*, Rect>> views;
    for (const auto& v : container.subviews()) views.emplace_back(v.get(), v->frame());
    std::sort(views.begin(), views.end(), [](const auto& a, const auto& b) {
        return a.second.origin.y + a.second.size.height > b.second.origin.y + b.second.size.height;
    });
    // Views whose heights overlap share a row: a heading and its checkbox, a field and its button.
    rows_.clear();
    for (const auto& [view, frame] : views) {
        const double top = frame.origin.y + frame.size.height;
        if (rows_.empty() || top <= rows_.back().bottom)
            rows_.push_back(Row{top, frame.origin.y, {}});
        Row& row = rows_.back();
        row.bottom = std::min(row.bottom, frame.origin.y);
        row.views.emplace_back(view, frame);
    }
}

void ClosingRows::closeUpHiddenRows() const {
    double shift = 0;
    // A hidden row gives up its height and the space above it; the row below keeps its own.
    double above = rows_.empty() ? 0 : rows_.front().top;
    for (const Row& row : rows_) {
        const bool hidden = std::all_of(row.views.begin(), row.views.end(),
                                        [](const auto& v) { return v.first->isHidden(); });
        if (hidden) shift += above - row.bottom;
        above = row.bottom;
        if (hidden) continue;
        for (const auto& [view, frame] : row.views) {
            Rect moved = frame;
            moved.origin.y += shift;
            view->setFrame(moved);
        }
    }
}

}  // namespace tidra
