// Byte sequences of the x86-64 formula code.
#include "formula/x87_encoding.h"

#include <cstring>
#include <initializer_list>

namespace {

X87Bytes Bytes(std::initializer_list<std::uint8_t> list) {
  X87Bytes out{};
  for (std::uint8_t byte : list)
    out.bytes[out.size++] = byte;
  return out;
}

void Append(X87Bytes &out, const void *data, std::uint32_t n) {
  std::memcpy(out.bytes + out.size, data, n);
  out.size += n;
}

} // namespace

X87Bytes EncodePrologue(const double *pool) {
  // movss [rsp-4], xmm0
  X87Bytes out = Bytes({0xF3, 0x0F, 0x11, 0x44, 0x24, 0xFC});
  // movabs rax, pool
  const std::uint64_t address = reinterpret_cast<std::uintptr_t>(pool);
  const std::uint8_t movabs[] = {0x48, 0xB8};
  Append(out, movabs, 2);
  Append(out, &address, 8); // little-endian, like the processor
  return out;
}

X87Bytes EncodeConstant(std::uint32_t slot) {
  const std::uint32_t offset = slot * 8;
  if (offset < 0x80)
    return Bytes({0xDD, 0x40, std::uint8_t(offset)}); // fld qword [rax+disp8]
  X87Bytes out = Bytes({0xDD, 0x80});                 // fld qword [rax+disp32]
  Append(out, &offset, 4);
  return out;
}

X87Bytes EncodeArgument() { return Bytes({0xD9, 0x44, 0x24, 0xFC}); }

X87Bytes EncodeOperator(FormulaOp op) {
  switch (op) {
  case FormulaOp::Add:
    return Bytes({0xDE, 0xC1});
  case FormulaOp::Sub:
    return Bytes({0xDE, 0xE9});
  case FormulaOp::Mul:
    return Bytes({0xDE, 0xC9});
  case FormulaOp::Div:
    return Bytes({0xDE, 0xF9});
  default:
    return X87Bytes{};
  }
}

X87Bytes EncodeEpilogue() { return Bytes({0xC3}); }
