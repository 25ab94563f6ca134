#pragma once

#include <string>
#include <vector>

// One page the world knows: the web-style address the player sees for it, its
// file name in the text archive, its search keywords and its title.
struct SearchRecord {
    std::string address;
    std::string fileName;
    std::vector<std::string> keywords;
    std::string title;
};
