// heapFigures.h -- what the heap holds, and handing back what it holds for nothing. One file per
// platform: heapFigures.cpp (glibc), heapFiguresWindows.cpp (the Windows C runtime).
#pragma once

#include <cstddef>

// The bytes the program's allocations hold now. With glibc, every arena's chunks in use and the
// blocks mapped on their own; with the Windows C runtime, every block of its heap in use.
std::size_t heapBytesInUse();

// Hands memory that the heap keeps but no allocation uses back to the system.
void releaseFreedHeap();
