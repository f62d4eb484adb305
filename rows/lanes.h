// Four row entries at a time, through the vector extension of g++ and
// clang++: the block loops of Row compile to SIMD code on every target
// without intrinsics. Arithmetic wraps (it is done on unsigned lanes);
// callers guard against overflow themselves.
#ifndef CRNINV_ROWS_LANES_H_
#define CRNINV_ROWS_LANES_H_

#include <cstdint>
#include <cstring>

namespace crninv {

typedef int32_t Lanes __attribute__((vector_size(16)));
typedef uint32_t UnsignedLanes __attribute__((vector_size(16)));

inline Lanes load_lanes(const int32_t* p) {
  Lanes v;
  memcpy(&v, p, sizeof v);
  return v;
}

inline void store_lanes(int32_t* p, Lanes v) {
  memcpy(p, &v, sizeof v);
}

inline Lanes wrapping_add(Lanes a, Lanes b) {
  return (Lanes)((UnsignedLanes)a + (UnsignedLanes)b);
}

inline Lanes wrapping_negate(Lanes a) {
  return (Lanes)(UnsignedLanes{} - (UnsignedLanes)a);
}

inline Lanes wrapping_multiply(Lanes a, int32_t factor) {
  return (Lanes)((UnsignedLanes)a * static_cast<uint32_t>(factor));
}

// |a| per lane, as unsigned lanes, so that -2147483648 has a magnitude too.
inline UnsignedLanes lane_magnitudes(Lanes a) {
  Lanes negative = a >> 31;  // all ones in the negative lanes
  return (UnsignedLanes)wrapping_add(a ^ negative, -negative);
}

// The bitwise OR of the four lanes.
inline uint32_t or_lanes(UnsignedLanes a) {
  return a[0] | a[1] | a[2] | a[3];
}

}  // namespace crninv

#endif  // CRNINV_ROWS_LANES_H_
