// The library's text type.
#include "lumora/string.h"

#include "lumora/core/text_codec.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace lumora {

String::String() = default;

String::String(const char *text)
{
    if (text) this->text = core::WidenText(text, std::strlen(text));
}

String::String(const wchar_t *text)
{
    if (text) this->text = text;
}

String::String(const wchar_t *text, int length)
{
    if (text && length > 0) this->text.assign(text, static_cast<size_t>(length));
}

String::String(const String &other)
{
    other.Settle();
    text = other.text;
}

String::String(String &&other) noexcept
{
    other.Settle();
    text = std::move(other.text);
    other.text.clear();
    other.Changed();
}

String::~String() = default;

String &String::operator=(const String &other)
{
    if (this != &other) {
        other.Settle();
        text = other.text;
        Changed();
    }
    return *this;
}

String &String::operator=(String &&other) noexcept
{
    if (this != &other) {
        other.Settle();
        text = std::move(other.text);
        other.text.clear();
        other.Changed();
        Changed();
    }
    return *this;
}

// Both assignments build the new text first: the source may be this string's own buffer.
String &String::operator=(const char *newText)
{
    std::wstring converted = newText ? core::WidenText(newText, std::strlen(newText)) : std::wstring();
    text = std::move(converted);
    Changed();
    return *this;
}

String &String::operator=(const wchar_t *newText)
{
    std::wstring copied = newText ? std::wstring(newText) : std::wstring();
    text = std::move(copied);
    Changed();
    return *this;
}

void String::Settle() const
{
    if (pendingEnd < 0) return;
    if (static_cast<size_t>(pendingEnd) + 1 == text.size() && text[pendingEnd] == L'\0')
        text.resize(static_cast<size_t>(pendingEnd));
    pendingEnd = -1;
}

void String::Changed()
{
    pendingEnd = -1;
    narrowValid = false;
}

int String::Length() const
{
    Settle();
    return static_cast<int>(text.size());
}

wchar_t &String::operator[](int index)
{
    Settle();
    narrowValid = false;
    if (index < 0) {
        scratch = L'\0';
        return scratch;
    }
    size_t position = static_cast<size_t>(index);
    if (position >= text.size()) {
        text.resize(position + 1, L'\0');
        pendingEnd = index;
    }
    return text[position];
}

wchar_t String::operator[](int index) const
{
    Settle();
    if (index < 0 || static_cast<size_t>(index) >= text.size()) return L'\0';
    return text[static_cast<size_t>(index)];
}

int String::ToInt() const
{
    Settle();
    size_t i = 0;
    size_t length = text.size();
    while (i < length && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) i++;
    bool negative = false;
    if (i < length && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        i++;
    }
    // Accumulate towards the sign's own limit so that INT_MIN needs no special case.
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < length && text[i] >= L'0' && text[i] <= L'9'; i++) {
        value = value * 10 + (text[i] - L'0');
        if (value >= limit) {
            value = limit;
            break;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

String String::FromInt(long long value)
{
    // Digits are produced from the negative side, which also holds the most negative value.
    wchar_t digits[24];
    int pos = 24;
    digits[--pos] = L'\0';
    bool negative = value < 0;
    long long rest = negative ? value : -value;
    do {
        digits[--pos] = static_cast<wchar_t>(L'0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (negative) digits[--pos] = L'-';
    return String(digits + pos);
}

namespace {

int CompareCodes(const std::wstring &a, const std::wstring &b, size_t count)
{
    for (size_t i = 0; i < count; i++) {
        unsigned long x = i < a.size() ? static_cast<unsigned long>(a[i]) : 0;
        unsigned long y = i < b.size() ? static_cast<unsigned long>(b[i]) : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

} // namespace

int String::Compare(const String &other) const
{
    Settle();
    other.Settle();
    return CompareCodes(text, other.text, std::max(text.size(), other.text.size()));
}

int String::CompareN(const String &other, int count) const
{
    if (count <= 0) return 0;
    Settle();
    other.Settle();
    size_t longest = std::max(text.size(), other.text.size());
    return CompareCodes(text, other.text, std::min(static_cast<size_t>(count), longest));
}

String &String::Append(const String &other)
{
    Settle();
    other.Settle();
    text.append(other.text); // safe when other is this string
    Changed();
    return *this;
}

String String::operator+(const String &other) const
{
    String result(*this);
    result.Append(other);
    return result;
}

String::operator const char *() const
{
    Settle();
    if (!narrowValid) {
        narrow = core::NarrowText(text);
        narrowValid = true;
    }
    return narrow.c_str();
}

String::operator const wchar_t *() const
{
    Settle();
    return text.c_str();
}

} // namespace lumora
