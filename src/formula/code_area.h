// Memory for generated machine code. An area is handed out writable and not
// executable, switched to execute-only before it runs, and handed back when
// the formula is released; no area is ever writable and executable at once.
#pragma once

#include <cstddef>
#include <cstdint>

// Machine code is generated only where a code generator exists; elsewhere
// formulas run in the interpreter. Defining it as 0 forces the interpreter.
#ifndef SORVANEL_FORMULA_NATIVE
#if defined(__x86_64__)
#define SORVANEL_FORMULA_NATIVE 1
#else
#define SORVANEL_FORMULA_NATIVE 0
#endif
#endif

// Bytes of one code area (a whole page).
std::size_t CodeAreaSize();
// A fresh area, readable and writable; null when none can be had.
std::uint8_t *ObtainCodeArea();
// Makes the area execute-only; false when the system refuses.
bool MakeExecuteOnly(std::uint8_t *area);
// Gives the area back; false when the system refuses.
bool ReturnCodeArea(std::uint8_t *area);
