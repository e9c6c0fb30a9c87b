#pragma once

// Calendar date and clock time: the calculation library's date type.
// `zone` is the offset of the clock from UT in hours (0 = UT, +9 = JST).
struct tagADATE {
    int year = 0;  // astronomical numbering: 0 = 1 BC
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    double second = 0.0;
    double zone = 0.0;
};
