// Rounding to single precision without leaving the float range undefined:
// a value beyond the largest float becomes an infinity of its sign, as the
// floating-point unit would round it.
#pragma once

float ToSingle(long double value);
