#pragma once

#include <array>
#include <string>
#include <vector>

class Archive;
class StringList;

// One list of accepted texts per password-protected page.
constexpr int kPasswordSlots = 16;
using PasswordLists = std::array<std::vector<std::string>, kPasswordSlots>;

// Reads the lines of "password.txt". A line holding "□ＥＮＤ" closes a group
// and a line starting with "//" is a comment; any other line holding "□"
// followed by two full-width digits names a slot, and the text after the first
// full-width space behind the "□" is accepted for that slot. Lines that do
// not fit, or name a slot outside 0..15, add nothing. The markers are only
// recognised as whole characters, never across a double-byte character.
PasswordLists ParsePasswordLines(const StringList& lines);

// Fills `lists` from entry "password.txt" of the text archive. Without that
// entry every slot is empty and no password is accepted; returns false then.
bool LoadPasswordTable(const Archive& textArchive, PasswordLists& lists);
