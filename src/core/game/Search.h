#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "game/SearchRecord.h"

class Archive;
class StringList;
class TokenList;

// The world's search engine: the words of a search, the words it refuses, and
// the result page built from the template "Search.htm".

constexpr int kMaxKeywords = 30;
// A search text longer than this is refused as too long.
constexpr size_t kMaxSearchText = 4096;
inline constexpr std::string_view kKeywordsTooLongText = "キーワードが長すぎる、または多すぎます。";

// Splits a search text into at most 30 words at spaces, "　", "｜" and "|"
// (a "|" that is the second byte of a double-byte character is part of it),
// dropping repeats ignoring ASCII case. A text that starts with a separator
// gives an empty first word. Returns the number of words, or -1 (after
// telling the player) for a text too long to search.
int SplitKeywords(std::string_view text, std::vector<std::string>& words);

// Whether a word equals, ignoring ASCII case, a line of the refused words.
bool IsBlocked(const std::vector<std::string>& words, const StringList& refused);

// Puts the results of a search for `words` into `page`, the template's tokens
// (read from "Search.htm"): after its first "<!>" token, or at its end when it
// has none. Returns the number of results.
int InsertSearchResults(TokenList& page, const std::vector<std::string>& words, bool blocked,
                        const std::vector<SearchRecord>& table);

// The whole result page for the words of a search as the browser builds it:
// the template and the refused words from the text archive.
void FillSearchPage(const Archive& textArchive, const std::vector<SearchRecord>& table,
                    const std::vector<std::string>& words, TokenList& page);
