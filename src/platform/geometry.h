#pragma once

namespace tidra {

struct Size {
    double width = 0, height = 0;
    bool operator==(const Size&) const = default;
};
struct Point {
    double x = 0, y = 0;
    bool operator==(const Point&) const = default;
};
struct Rect {
    Point origin;
    Size size;
    bool operator==(const Rect&) const = default;
};

// Rectangle edges (NSRectEdge).
enum class RectEdge { MinX = 0, MinY = 1, MaxX = 2, MaxY = 3 };

}  // namespace tidra
