// The C heap in large pages. The game makes every texture, vertex buffer and font while it starts, and
// each fresh 4 KiB page the driver and the game touch costs a page fault (on a virtual machine, often a
// trip to the host as well): fewer, larger pages start the game sooner.
#pragma once

namespace platform {

// Grows the heap once by a region that the kernel backs with 2 MiB pages where it can, and keeps
// blocks of up to 32 MiB in the heap, where freed memory is reused, instead of mapping each one
// afresh. Pages are made resident only when touched, as before. Does nothing after the first call,
// when the heap is not one contiguous region, or when the allocator is not the C library's.
void UseLargeHeapPages();

}  // namespace platform
