#pragma once
// The colour rules of the button's drawing, written out again for the tests
// alone, so that an expected pixel never comes from the painters' own arithmetic.
// Colours are 0x00BBGGRR.

namespace imagebutton_test::rule {

// Every channel moved by fraction x 255 (a single-precision product), rounded to
// nearest with halves to even, bounded only in the direction of the move.
long Shift(long color, float fraction);

// Every channel the mean of the two, halves to even.
long Average(long a, long b);

// Step i of n from one colour to another: from + (to - from) x i div (n - 1),
// truncating toward zero; a single step is from div 2 + to div 2.
long GradientStep(long from, long to, int steps, int i);

}  // namespace imagebutton_test::rule
