// String helpers of the HDL-parser library: letter case, left and right
// parts, comparison without regard to case, path separators and Windows
// line ends. They are the library's names for the foundation's one case rule
// (foundation/UtlAscii.h: ASCII only, whatever the locale) and its string
// helpers, so that HDL names and file names compare the same everywhere.
#pragma once

#include <foundation/UtlAscii.h>

#include <cstddef>
#include <string>
#include <string_view>

// Case change in place.
void ZorpaMakeUpper(std::string& text);
void ZorpaMakeLower(std::string& text);

// The first `count` characters, or the last `count`; a count at least the
// length gives the whole text, a negative count the empty text.
std::string ZorpaGetLeftString(const std::string& text, int count);
std::string ZorpaGetRightString(const std::string& text, int count);

// Compares without regard to case: 0 when equal, negative when `a` sorts
// first, positive otherwise (lower-cased byte order).
int ZorpaCompareNoCase(const std::string& a, const std::string& b);

// Hash and equality without regard to case, for hashed indexes of names that
// are looked up by the name as written: the case is folded while hashing and
// comparing, so a lookup makes no lower-cased copy of the name. Not
// noexcept, so that the standard tables keep each key's hash rather than
// folding it again on every probe.
struct ZorpaFoldedHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const
    {
        // FNV-1a over the lower-cased characters.
        std::size_t hash = 14695981039346656037ull;
        for (char c : name) hash = (hash ^ static_cast<unsigned char>(UtlToLower(c))) * 1099511628211ull;
        return hash;
    }
};
struct ZorpaFoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return UtlIsSameNoCase(a, b); }
};

// A name with its ZorpaFoldedHash, worked out once for the several indexes
// one name is looked up in.
struct ZorpaHashedName {
    explicit ZorpaHashedName(std::string_view name) : text(name), hash(ZorpaFoldedHash()(name)) {}
    std::string_view text;
    std::size_t hash;
};

// Normalises the separators of a path in place: every "\" becomes "/". With
// `folder` set, trailing separators after a non-empty name are dropped too
// ("a/b/" gives "a/b"; "/" and "//" stay as they are).
void ZorpaSetValidSeparator(std::string& path, bool folder);

// Removes the carriage return of every Windows line end ("\r\n" gives "\n")
// and a carriage return that ends the text.
void ZorpaRemoveWindowsEOL(std::string& text);
