// The library's text type: a sequence of wide characters. Even reading a string may update
// its conversion cache, so two threads that use the same string need copies of their own.
#ifndef LUMORA_STRING_H
#define LUMORA_STRING_H

#include "lumora/api.h"

#include <string>

namespace lumora {

class LUMORA_API String {
public:
    // construction
    String();
    String(const char *text);    // 8-bit text in the system code page; null gives the empty string
    String(const wchar_t *text); // null gives the empty string
    String(const wchar_t *text, int length); // exactly length characters, zeros included
    String(const String &other);
    String(String &&other) noexcept;
    ~String();

    String &operator=(const String &other);
    String &operator=(String &&other) noexcept;
    String &operator=(const char *text);
    String &operator=(const wchar_t *text);

    // attributes
    int Length() const;

    // Writing the terminating zero at a position past the end sizes the string to that
    // length; writing any other character past the end grows it, padding with zeros.
    // A negative index gives a scratch cell that belongs to no position.
    wchar_t &operator[](int index);
    wchar_t operator[](int index) const; // 0 outside the string

    // Reads an optional sign and then decimal digits; the first other character ends the
    // number. Empty text, or text without leading digits, gives 0. Leading white space
    // is skipped. Values beyond the range of int are clamped.
    int ToInt() const;
    static String FromInt(long long value);

    // 0 when equal, negative when this sorts first, positive otherwise (by character code,
    // case-sensitive). The shorter string compares as if padded with zeros.
    int Compare(const String &other) const;
    int CompareN(const String &other, int count) const; // only the first count characters
    bool operator==(const String &other) const { return Compare(other) == 0; }
    bool operator!=(const String &other) const { return Compare(other) != 0; }

    // operations
    String &Append(const String &other);
    String operator+(const String &other) const;

    // Conversions for platform calls. The pointers stay valid while the string is
    // unchanged. The 8-bit form uses the system code page on Windows, UTF-8 elsewhere.
    explicit operator const char *() const;
    explicit operator const wchar_t *() const;

private:
    // A write through operator[] past the end has not happened yet when the reference is
    // handed out, so the slot stays pending until the next use decides: a zero there ends
    // the string at that position.
    void Settle() const;
    void Changed();

    mutable std::wstring text;
    mutable int pendingEnd = -1; // position of an unsettled slot written past the end
    mutable std::string narrow;  // cache of the 8-bit form
    mutable bool narrowValid = false;
    wchar_t scratch = 0;
};

} // namespace lumora

#endif
