// heapFigures.cpp -- the heap's figures from glibc's allocator (the Linux side of heapFigures.h).
#include "shell/heapFigures.h"

#include <malloc.h>

std::size_t heapBytesInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

void releaseFreedHeap() {
    malloc_trim(0);
}
