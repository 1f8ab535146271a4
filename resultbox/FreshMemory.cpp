#include "FreshMemory.h"

#include <QtGlobal>
#include <cstdlib>

#ifdef Q_OS_LINUX
#include <sys/mman.h>

namespace {

constexpr std::size_t hugePage = std::size_t(2) << 20;

} // namespace

std::shared_ptr<char[]> freshBlock(std::size_t size)
{
    if (size % hugePage == 0) {
        if (void *memory = std::aligned_alloc(hugePage, size)) {
            ::madvise(memory, size, MADV_HUGEPAGE);
            return std::shared_ptr<char[]>(static_cast<char *>(memory), std::free);
        }
    }
    return std::make_shared_for_overwrite<char[]>(size);
}

#else

std::shared_ptr<char[]> freshBlock(std::size_t size)
{
    return std::make_shared_for_overwrite<char[]>(size);
}

#endif
