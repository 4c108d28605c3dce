#pragma once

// Points, sizes and rectangles of the diagram in integer logical units, with
// the rules of the original platform that the model's geometry relies on: a
// rectangle covers [left, right) x [top, bottom), and one whose width or
// height is 0 or less is empty.

struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // A rectangle turned inside out (right < left) is empty as well.
    bool IsEmpty() const { return right <= left || bottom <= top; }
    // Left and top edges inside, right and bottom edges outside.
    bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }

    // Swaps the edges where needed so that left <= right and top <= bottom.
    void Normalize();
    // Grows each side outwards by dx and dy (negative values shrink).
    void Inflate(int dx, int dy);
    void Offset(int dx, int dy);

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The smallest rectangle holding both. An empty operand is skipped; when both
// are empty the answer is the zero rectangle.
Rect UnionRect(const Rect& a, const Rect& b);

// The common part of both in `out`. False, with the zero rectangle in `out`,
// when that part is empty (touching edges share nothing).
bool IntersectRect(const Rect& a, const Rect& b, Rect& out);
