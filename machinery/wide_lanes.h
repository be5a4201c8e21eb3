// Whether this processor has the 512-bit vector instructions that a build
// with eight transport lanes uses.  The build asks the processor that
// configures it, and each program asks the one it starts on.
#pragma once

inline bool ProcessorHasWideLanes() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw");
}
