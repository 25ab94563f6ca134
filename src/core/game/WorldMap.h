#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A world as a graph for its author: every page of "Text.arc", and every way
// from one page to another or to something else (a scene, a note, a download,
// the plug-in set-up) that its links, its forms and the story's name rules
// offer. Read with the world checker's reading of links and forms and with the
// story rules themselves. Names are in small letters; titles and addresses
// keep the world's code page 932 bytes.

struct MapPage {
    std::string name;
    std::string title;    // the page table's, or else the page's own <title>
    std::string address;  // the page table's; empty when the page has no record
    std::string host;     // the host part of the address: the site the page belongs to
    bool listed = false;  // the page table has a record for it
    bool reached = false;
};

struct MapEdge {
    enum class Kind { Link, Message, Note, Protected, Form, Download, Plugin, Rule };
    std::string from;
    Kind kind = Kind::Link;
    // A page, a scenario text ("tous03.txt", "suga00.txt"), a file of
    // "ex.arc", or "plugin".
    std::string to;
    // What opens it: "password 3" for a protected page, "search" for a search
    // button, the story's condition for a rule ("stage 3", "plug-in, third visit").
    std::string condition;
};

struct WorldMap {
    std::string home;            // the page a new game starts on
    std::vector<MapPage> pages;  // in the order of "Text.arc"
    std::vector<MapEdge> edges;  // by page, in page order; each edge once
    int unreachable = 0;
};

// "link", "message", "note", "protected", "form", "download", "plugin", "rule".
std::string_view EdgeKindName(MapEdge::Kind kind);

// Whether following the edge opens a page (a link, a form, a protected page, a rule).
bool LeadsToPage(MapEdge::Kind kind);

// The map of the world in `worldDir`; nothing when its "Text.arc" cannot be read.
//
// A page counts as reached when the browser opens it by itself (the home page
// of a new game, the search page, the page for unknown addresses), when its
// address or a search word leads to it, or when a link, a form or a rule leads
// to it from a page that is reached.
std::optional<WorldMap> ReadWorldMap(const std::string& worldDir);
