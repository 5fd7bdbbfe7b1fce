// Wide text in a buffer of fixed size, for paths and messages: the launcher allocates little
// and links no library beyond Windows' own.
#ifndef SETUP_LAUNCHER_FIXED_TEXT_H
#define SETUP_LAUNCHER_FIXED_TEXT_H

#include <cstddef>

template <size_t Capacity> struct FixedText {
    static const size_t capacity = Capacity;
    wchar_t text[Capacity] = {};
    size_t length = 0;

    // False, leaving the text as it was, when the tail does not fit with its ending zero.
    bool Append(const wchar_t *tail, size_t count)
    {
        if (count >= Capacity - length) return false;
        for (size_t k = 0; k < count; ++k) text[length + k] = tail[k];
        length += count;
        text[length] = L'\0';
        return true;
    }
    bool Append(const wchar_t *tail)
    {
        size_t count = 0;
        while (tail[count] != L'\0') ++count;
        return Append(tail, count);
    }
    // The number in decimal, with leading zeros to width digits.
    bool AppendNumber(unsigned long value, int width = 1)
    {
        wchar_t digits[24];
        int count = 0;
        do {
            digits[sizeof digits / sizeof digits[0] - 1 - count++] = static_cast<wchar_t>(L'0' + value % 10);
            value /= 10;
        } while (value > 0 || count < width);
        return Append(digits + sizeof digits / sizeof digits[0] - count, static_cast<size_t>(count));
    }
    void Cut(size_t at)
    {
        length = at;
        text[at] = L'\0';
    }
};

#endif
