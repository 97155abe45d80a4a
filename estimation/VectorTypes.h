#pragma once

#include <cstring>

namespace estimation
{

// Four doubles as one value; compiled to one AVX register inside functions built for AVX2 and to two
// SSE2 registers elsewhere. Lane-wise arithmetic is plain IEEE arithmetic either way (no FMA), so the
// two builds of a kernel give identical bits.
typedef double Vec4 __attribute__((vector_size(32)));

#define VT_LOAD4(dst, src) std::memcpy(&(dst), (src), sizeof(Vec4))
#define VT_STORE4(dst, src) std::memcpy((dst), &(src), sizeof(Vec4))
#define VT_SPLAT4(value) (Vec4{(value), (value), (value), (value)})

} // namespace estimation
