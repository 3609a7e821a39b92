#pragma once
// The library's lock count: every live COM object and every LockServer(TRUE)
// holds one; the library may unload only at zero.
#include <atomic>

class ModuleLock {
public:
    static void Add() { ++s_count; }
    static void Release() { --s_count; }
    static long Count() { return s_count; }

private:
    static inline std::atomic<long> s_count{0};
};
