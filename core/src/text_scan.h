#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The decoder looks at every character of the pasted text on every keystroke; these scans
// let it skip over characters that cannot end a line or begin the marker, eight at a time.
namespace pelorin::scan {

// First position in [from, end) holding a CR, or, when `orMarkerStart`, a character whose
// ASCII lower case is `markerStartLower`; `end` when there is none.
inline const char16_t* findBreakOrMarkerStart(const char16_t* from, const char16_t* end,
                                              bool orMarkerStart, char16_t markerStartLower) {
    const char16_t* p = from;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16('\r');
    const __m128i fold = _mm_set1_epi16(0x20);
    const __m128i start = _mm_set1_epi16(static_cast<short>(markerStartLower));
    const __m128i wantStart = _mm_set1_epi16(orMarkerStart ? -1 : 0);
    for (; end - p >= 8; p += 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i isCr = _mm_cmpeq_epi16(chunk, cr);
        const __m128i isStart =
            _mm_and_si128(_mm_cmpeq_epi16(_mm_or_si128(chunk, fold), start), wantStart);
        const int mask = _mm_movemask_epi8(_mm_or_si128(isCr, isStart));
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p == u'\r' || (orMarkerStart && (*p | 0x20) == markerStartLower)) {
            return p;
        }
    }
    return end;
}

// Whether [from, end) holds a UTF-16 surrogate, that is, a character of more than one unit.
inline bool holdsSurrogate(const char16_t* from, const char16_t* end) {
    unsigned found = 0;
    for (const char16_t* p = from; p < end; ++p) {
        found |= static_cast<unsigned>((*p & 0xF800) == 0xD800);
    }
    return found != 0;
}

// First position in [from, end) whose ASCII lower case is `lower`; `end` when there is none.
inline const char* findFolded(const char* from, const char* end, char lower) {
    const char* p = from;
#if defined(__SSE2__)
    const __m128i fold = _mm_set1_epi8(0x20);
    const __m128i wanted = _mm_set1_epi8(lower);
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(chunk, fold), wanted));
        if (mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
    }
#endif
    for (; p < end; ++p) {
        if ((*p | 0x20) == lower) {
            return p;
        }
    }
    return end;
}

// Whether [from, end) holds a byte outside ASCII, that is, part of a multi-byte character.
inline bool holdsNonAscii(const char* from, const char* end) {
    unsigned char found = 0;
    for (const char* p = from; p < end; ++p) {
        found |= static_cast<unsigned char>(*p);
    }
    return (found & 0x80) != 0;
}

}  // namespace pelorin::scan
