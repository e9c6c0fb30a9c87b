// A rectangle in window pixels, in the framework's style: left and top
// inside, right and bottom just outside.
#pragma once

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool PtInRect(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};
