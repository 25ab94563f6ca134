#pragma once

#include <array>
#include <string_view>

// The tags the page engine knows, by identity: a token is the first tag of
// the table whose prefix occurs anywhere in it (tokens are in small letters).
enum class Tag {
    Html,
    HtmlEnd,
    Head,
    HeadEnd,
    Title,
    TitleEnd,
    BaseHref,
    MetaHttpEquiv,
    MetaName,
    Link,
    Body,
    BodyEnd,
    Comment,
    Heading,
    HeadingEnd,
    Font,
    FontEnd,
    BaseFont,
    Big,
    BigEnd,
    Small,
    SmallEnd,
    Break,
    Paragraph,
    NoBreak,
    NoBreakEnd,
    Pre,
    PreEnd,
    Center,
    CenterEnd,
    Division,
    DivisionEnd,
    Image,
    Table,
    TableEnd,
    TableBorder,
    Row,
    RowEnd,
    Cell,
    CellEnd,
    HeaderCell,
    HeaderCellEnd,
    Caption,
    CaptionEnd,
    ParagraphEnd,
    WordBreak,
    Strong,
    StrongEnd,
    Bold,
    BoldEnd,
    Teletype,
    TeletypeEnd,
    Italic,
    ItalicEnd,
    Anchor,
    AnchorEnd,
    Form,
    FormEnd,
    Input,
    None,  // no prefix matched: the token is text
};

constexpr size_t kTagCount = 59;

// The prefixes in table order; the index is the Tag's value.
extern const std::array<std::string_view, kTagCount> kTagPrefixes;

// True when `prefix` occurs anywhere in `token` (case-sensitive).
inline bool MatchTag(std::string_view token, std::string_view prefix) {
    return token.find(prefix) != std::string_view::npos;
}

// The first tag of the table that the token matches, or Tag::None.
Tag FindTag(std::string_view token);
