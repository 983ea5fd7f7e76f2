// The failure raised while a formula is compiled or run. Its text is one of
// the fixed English texts below; the evaluation entry catches it and shows the
// user a Chinese message instead.
#pragma once

#include <stdexcept>

class FormulaError : public std::runtime_error {
public:
  explicit FormulaError(const char *text) : std::runtime_error(text) {}
};

inline constexpr const char kParseErrorText[] = "Formula parse error!";
inline constexpr const char kAllocErrorText[] =
    "VirtualAlloc error, memory allocation failed!";
inline constexpr const char kProtectErrorText[] =
    "VirtualProtect error, cannot change memory access rights!";
inline constexpr const char kFreeErrorText[] =
    "VirtualFree error, memory deallocation failed!";
inline constexpr const char kTooLargeText[] = "Emitted shell-code is too large!";
inline constexpr const char kTooManyConstantsText[] =
    "Number of constants exceeded!";
