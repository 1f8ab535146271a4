#pragma once

#include <cstddef>
#include <memory>

// A block of `size` bytes for text that is written once, front to back. Where the kernel offers
// huge pages for it, the block asks for them: a fresh page costs a fault when it is first
// written, and a huge page stands for 512 ordinary ones. Elsewhere, or where the request fails,
// the block is ordinary memory.
std::shared_ptr<char[]> freshBlock(std::size_t size);
