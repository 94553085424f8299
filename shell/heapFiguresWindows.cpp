// heapFiguresWindows.cpp -- the heap's figures from the Windows C runtime (the Windows side of
// heapFigures.h).
#include "shell/heapFigures.h"

#include <malloc.h>

std::size_t heapBytesInUse() {
    _HEAPINFO entry = {};
    std::size_t inUse = 0;
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) {
            inUse += entry._size;
        }
    }
    return inUse;
}

void releaseFreedHeap() {
    _heapmin();
}
