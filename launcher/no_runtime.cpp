// The few functions the compiler calls on its own for copying and clearing memory, which a
// runtime library would otherwise provide. Built without the compiler's knowledge of them, so
// it cannot turn these loops back into calls to themselves.
#include <cstddef>

extern "C" {

void *memset(void *destination, int value, size_t size)
{
    unsigned char *bytes = static_cast<unsigned char *>(destination);
    while (size-- > 0) *bytes++ = static_cast<unsigned char>(value);
    return destination;
}

void *memcpy(void *destination, const void *source, size_t size)
{
    unsigned char *to = static_cast<unsigned char *>(destination);
    const unsigned char *from = static_cast<const unsigned char *>(source);
    while (size-- > 0) *to++ = *from++;
    return destination;
}

void *memmove(void *destination, const void *source, size_t size)
{
    unsigned char *to = static_cast<unsigned char *>(destination);
    const unsigned char *from = static_cast<const unsigned char *>(source);
    if (to < from) return memcpy(destination, source, size);
    while (size-- > 0) to[size] = from[size];
    return destination;
}
}
