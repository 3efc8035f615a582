#pragma once
// Plain integer geometry shared by the logic that must build without a window
// system. The semantics follow the platform's own: right and bottom are
// exclusive, "empty" means right <= left or bottom <= top (so an inverted
// rectangle is empty), and containment is left <= x < right, top <= y < bottom.
#include <vector>

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(const Point& a, const Point& b) { return !(a == b); }
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }

    // Smaller x as left, smaller y as top; the rectangle itself is untouched.
    Rect Normalized() const {
        Rect r = *this;
        if (r.left > r.right) { int t = r.left; r.left = r.right; r.right = t; }
        if (r.top > r.bottom) { int t = r.top; r.top = r.bottom; r.bottom = t; }
        return r;
    }
    Rect Inflated(int g) const { return Rect{left - g, top - g, right + g, bottom + g}; }
    Rect Offset(int dx, int dy) const { return Rect{left + dx, top + dy, right + dx, bottom + dy}; }
    // Smallest rectangle holding both; an empty rectangle adds nothing.
    Rect United(const Rect& o) const {
        if (IsEmpty()) return o.IsEmpty() ? Rect{} : o;
        if (o.IsEmpty()) return *this;
        return Rect{left < o.left ? left : o.left, top < o.top ? top : o.top, right > o.right ? right : o.right,
                    bottom > o.bottom ? bottom : o.bottom};
    }
    // What both share; empty when nothing.
    Rect Intersected(const Rect& o) const {
        const Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
                     bottom < o.bottom ? bottom : o.bottom};
        return r.IsEmpty() ? Rect{} : r;
    }

    friend bool operator==(const Rect& a, const Rect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }
};

// The band `width` pixels inward from the edges of t: four rectangles, or t
// itself when it is too small to have a middle.
inline std::vector<Rect> EdgeBand(const Rect& t, int width) {
    if (t.Width() <= 2 * width || t.Height() <= 2 * width) return t.IsEmpty() ? std::vector<Rect>{} : std::vector<Rect>{t};
    return {Rect{t.left, t.top, t.right, t.top + width}, Rect{t.left, t.bottom - width, t.right, t.bottom},
            Rect{t.left, t.top + width, t.left + width, t.bottom - width},
            Rect{t.right - width, t.top + width, t.right, t.bottom - width}};
}

// Appends the parts of a that are not in b: at most four rectangles, the rows
// above and below b, then the columns beside it.
inline void SubtractInto(const Rect& a, const Rect& b, std::vector<Rect>& out) {
    if (a.IsEmpty()) return;
    const Rect overlap = a.Intersected(b);
    if (overlap.IsEmpty()) {
        out.push_back(a);
        return;
    }
    for (const Rect& r : {Rect{a.left, a.top, a.right, overlap.top}, Rect{a.left, overlap.bottom, a.right, a.bottom},
                          Rect{a.left, overlap.top, overlap.left, overlap.bottom},
                          Rect{overlap.right, overlap.top, a.right, overlap.bottom}})
        if (!r.IsEmpty()) out.push_back(r);
}

// The parts of a that are not in b, as above.
inline std::vector<Rect> Subtract(const Rect& a, const Rect& b) {
    std::vector<Rect> out;
    SubtractInto(a, b, out);
    return out;
}

// Every pixel of `from` that lies in none of `cut`, as rectangles. Two
// buffers serve every cut: the picture's differences are taken on every
// pointer move, where each allocation costs more than the geometry.
inline std::vector<Rect> SubtractAll(const std::vector<Rect>& from, const std::vector<Rect>& cut) {
    std::vector<Rect> left, next;
    left.reserve(from.size() * 4);
    next.reserve(from.size() * 4);
    for (const Rect& r : from)
        if (!r.IsEmpty()) left.push_back(r);
    for (const Rect& c : cut) {
        next.clear();
        for (const Rect& r : left) SubtractInto(r, c, next);
        left.swap(next);
    }
    return left;
}

// Every pixel covered by exactly one of the two sets of rectangles, as
// rectangles that may overlap.
inline std::vector<Rect> SymmetricDifference(const std::vector<Rect>& a, const std::vector<Rect>& b) {
    std::vector<Rect> out = SubtractAll(a, b);
    for (const Rect& r : SubtractAll(b, a)) out.push_back(r);
    return out;
}
