#pragma once
// Global memory blocks (GlobalAlloc and friends): the clipboard's data and the memory under
// streams on global memory. Blocks are movable: a handle stays valid while the block is
// resized; GlobalLock gives its address until the matching GlobalUnlock.
#include <cstddef>

#include "platform/gdi/GdiTypes.h"

using HANDLE = void*;
using HGLOBAL = HANDLE;
enum : UINT { GMEM_FIXED = 0, GMEM_MOVEABLE = 0x2, GMEM_ZEROINIT = 0x40, GHND = 0x42 };
// A new block of zeros; null when the size cannot be had.
HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
HGLOBAL GlobalFree(HGLOBAL mem);  // null when freed; the handle back when it is no block
// Resizes a block in place (its handle stays; new bytes are zero); null when the block is
// locked, unknown or the size cannot be had.
HGLOBAL GlobalReAlloc(HGLOBAL mem, size_t bytes, UINT flags);
void* GlobalLock(HGLOBAL mem);  // null for a handle that is no block
BOOL GlobalUnlock(HGLOBAL mem);
size_t GlobalSize(HGLOBAL mem);
// The block whose locked contents begin at the address; null when it is no block's.
HGLOBAL GlobalHandle(const void* mem);
// The flags the framework's own global allocations use (movable).
extern UINT HeapAllocFlags;
