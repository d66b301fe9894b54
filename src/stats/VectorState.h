#pragma once
// Some library code (Qt's string hashing among it) leaves the upper halves of the AVX
// registers dirty. Until they are cleared, every switch between SSE code and the AVX code
// paths of libm costs a state transition: log10, exp and pow run ~20 times slower. Loops
// that call libm per value clear the state first.
class VectorState {
public:
    // vzeroupper where the CPU has AVX; nothing elsewhere.
    static void clearUpper();
};
