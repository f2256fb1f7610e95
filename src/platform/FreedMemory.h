#pragma once
#if defined(__GLIBC__)
#include <malloc.h>
#endif

// Hands memory the program has freed back to the system. Closing a large document frees hundreds
// of megabytes in small pieces, which the C library would otherwise keep for the process.
inline void returnFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
