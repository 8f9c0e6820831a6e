// A window laid out in rows, top to bottom, whose hidden rows leave no gap: the rows below move
// up into the room a hidden row took, and the room collects at the bottom, as a stack view that
// detaches its hidden views does.
#pragma once

#include <utility>
#include <vector>

#include "platform/views.h"

namespace tidra {

class ClosingRows {
  public:
    // The views of `container` with the frames they have now, as the description lays them out.
    void capture(View& container);
    // Every view back to its place, less the room of the rows above it that show nothing.
    void closeUpHiddenRows() const;

  private:
    struct Row {
        double top = 0, bottom = 0;  // frames grow upwards: top > bottom
        std::vector<std::pair<View*, Rect>> views;
    };
    std::vector<Row> rows_;
};

}  // namespace tidra
