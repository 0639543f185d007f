#pragma once
// Helpers shared by the grid's source files.
#include "platform/vcl/Grids.h"

// Number * Numerator / Denominator, rounded to the nearest (0 for a zero denominator).
int GridMulDiv(int Number, int Numerator, int Denominator);
// Raises EInvalidGridOperation "Grid index out of range".
[[noreturn]] void GridIndexError();
// The timer that scrolls while the mouse selects or moves beyond the grid's edge.
constexpr UINT_PTR kGridScrollTimer = 1;
constexpr UINT kGridScrollInterval = 60;
