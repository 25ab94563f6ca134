// velarc map: the world as a graph, as text lines or drawn by Graphviz.

#include "MapCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include "Cp932Text.h"
#include "game/WorldMap.h"

namespace {

constexpr int kExitError = 2;

int Fail(const std::string& message) {
    std::fprintf(stderr, "velarc: %s\n", message.c_str());
    return kExitError;
}

std::string Utf8(std::string_view cp932) {
    return Cp932ToUtf8Line(cp932);
}

// How each kind of edge is drawn, and its line in the legend.
struct EdgeStyle {
    const char* attributes;
    const char* legend;
};

EdgeStyle StyleOf(MapEdge::Kind kind) {
    switch (kind) {
        case MapEdge::Kind::Link:
            return {"color=\"#404040\"", "link"};
        case MapEdge::Kind::Message:
            return {"color=\"#1f6fb2\", arrowhead=dot", "message scene"};
        case MapEdge::Kind::Note:
            return {"color=\"#2e8b57\", arrowhead=dot", "note"};
        case MapEdge::Kind::Protected:
            return {"color=\"#c0392b\", fontcolor=\"#c0392b\", style=dashed, penwidth=1.5",
                    "protected page (password slot)"};
        case MapEdge::Kind::Form:
            return {"color=\"#8e44ad\", fontcolor=\"#8e44ad\"", "form button"};
        case MapEdge::Kind::Download:
            return {"color=\"#d35400\", arrowhead=box", "download"};
        case MapEdge::Kind::Plugin:
            return {"color=\"#b8860b\", penwidth=2, arrowhead=diamond", "plug-in set-up"};
        case MapEdge::Kind::Rule:
            return {"color=\"#7a7a7a\", fontcolor=\"#505050\", style=dashed, penwidth=1.5",
                    "story rule: shown instead"};
    }
    return {"", ""};
}

constexpr const char* kFont = "IPAGothic";
constexpr const char* kUnreachableStyle = "fillcolor=\"#ffd27f\", color=\"#cc7a00\", penwidth=2";

// A DOT string: quotes and backslashes escaped; "\n" in `text` stays a line break.
std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Something an edge leads to that is not a page of the world.
std::string OtherNode(const MapEdge& edge, bool isPage) {
    const std::string id = Quoted(Utf8(edge.to));
    switch (edge.kind) {
        case MapEdge::Kind::Message:
            return id + " [shape=note, fontsize=9, color=\"#1f6fb2\", label=" +
                   Quoted("scene\n" + Utf8(edge.to)) + "]";
        case MapEdge::Kind::Note:
            return id + " [shape=note, fontsize=9, color=\"#2e8b57\", label=" +
                   Quoted("note\n" + Utf8(edge.to)) + "]";
        case MapEdge::Kind::Download:
            return id + " [shape=folder, fontsize=9, color=\"#d35400\", label=" +
                   Quoted("download\n" + Utf8(edge.to)) + "]";
        case MapEdge::Kind::Plugin:
            return id + " [shape=component, color=\"#b8860b\", label=\"plug-in set-up\"]";
        default:
            if (isPage) {
                return "";
            }
            return id + " [style=\"dashed\", color=\"#c0392b\", fontcolor=\"#c0392b\", label=" +
                   Quoted(Utf8(edge.to) + "\n(not in Text.arc)") + "]";
    }
}

// U+3000 in UTF-8: sources compile to code page 932.
constexpr std::string_view kWideSpace = "\xE3\x80\x80";

// Half-width characters count 1, others 2.
int TextWidth(std::string_view utf8) {
    int width = 0;
    for (unsigned char c : utf8) {
        width += c < 0x80 ? 1 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    }
    return width;
}

// A title in lines of at most `limit` half-width characters, broken at its
// spaces where it has them: narrow nodes keep the picture's columns narrow.
std::string Wrapped(const std::string& utf8, int limit) {
    std::vector<std::string> words(1);
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        const std::string character = utf8.substr(i, length);
        i += length;
        if (character == " " || character == kWideSpace) {
            words.emplace_back();
        } else if (!words.back().empty() &&
                   TextWidth(words.back()) + TextWidth(character) > limit) {
            words.push_back(character);  // a word longer than a line
        } else {
            words.back() += character;
        }
    }
    std::string out;
    int line = 0;
    for (const std::string& word : words) {
        if (word.empty()) {
            continue;
        }
        const int width = TextWidth(word);
        if (line > 0 && line + 2 + width <= limit) {
            out += std::string(kWideSpace) + word;
            line += 2 + width;
        } else {
            out += (out.empty() ? "" : "\n") + word;
            line = width;
        }
    }
    return out;
}

constexpr int kTitleWidth = 18;

std::string PageNode(const MapPage& page) {
    std::string label = Utf8(page.name);
    if (!page.title.empty()) {
        label += "\n" + Wrapped(Utf8(page.title), kTitleWidth);
    }
    if (!page.listed) {
        label += "\n(no page-table record)";
    }
    return Quoted(Utf8(page.name)) + " [label=" + Quoted(label) +
           (page.reached ? "" : std::string(", ") + kUnreachableStyle) + "]";
}

std::string Legend() {
    std::string out =
        "  subgraph cluster_legend {\n"
        "    label=\"legend\"; style=\"rounded\"; color=\"#909090\"; fontsize=14;\n"
        "    node [shape=point, width=0.05, label=\"\", color=\"#909090\"];\n";
    const MapEdge::Kind kinds[] = {MapEdge::Kind::Link,   MapEdge::Kind::Message,
                                   MapEdge::Kind::Note,   MapEdge::Kind::Protected,
                                   MapEdge::Kind::Form,   MapEdge::Kind::Download,
                                   MapEdge::Kind::Plugin, MapEdge::Kind::Rule};
    int i = 0;
    for (MapEdge::Kind kind : kinds) {
        const EdgeStyle style = StyleOf(kind);
        out += "    legend_a" + std::to_string(i) + " -> legend_b" + std::to_string(i) + " [" +
               style.attributes + ", label=" + Quoted(style.legend) + "];\n";
        ++i;
    }
    out +=
        "    legend_page [shape=box, style=\"rounded,filled\", fillcolor=white, width=0,"
        " color=black, label=\"page\\ntitle\"];\n";
    out += std::string("    legend_unreachable [shape=box, style=\"rounded,filled\", width=0, ") +
           kUnreachableStyle + ", label=\"page nothing\\nreaches\"];\n";
    out += "    legend_page -> legend_unreachable [style=invis];\n";
    out += "  }\n";
    return out;
}

// Steps from the home page along edges that open pages; pages it does not
// reach have none.
std::map<std::string, int> StepsFromHome(const WorldMap& map) {
    std::map<std::string, int> steps{{map.home, 0}};
    std::vector<std::string> frontier{map.home};
    for (int step = 1; !frontier.empty(); ++step) {
        std::vector<std::string> next;
        for (const MapEdge& edge : map.edges) {
            if (LeadsToPage(edge.kind) &&
                std::find(frontier.begin(), frontier.end(), edge.from) != frontier.end() &&
                steps.emplace(edge.to, step).second) {
                next.push_back(edge.to);
            }
        }
        frontier = std::move(next);
    }
    return steps;
}

// `arranged`: with the hints that keep the picture narrow (see below).
std::string Dot(const WorldMap& map, bool arranged) {
    std::string out = "digraph world {\n";
    out += std::string("  graph [rankdir=LR, fontname=\"") + kFont +
           "\", fontsize=16, nodesep=0.12, ranksep=0.4, "
           "labelloc=t, label=\"Text.arc: " +
           std::to_string(map.pages.size()) + " pages, " + std::to_string(map.unreachable) +
           " unreachable\"];\n";
    out += std::string("  node [fontname=\"") + kFont +
           "\", fontsize=12, shape=box, style=\"rounded,filled\", fillcolor=white, "
           "margin=\"0.08,0.03\", height=0.3];\n";
    out += std::string("  edge [fontname=\"") + kFont + "\", fontsize=11, arrowsize=0.6];\n";

    // Pages by site, the sites in the order their first page comes.
    std::vector<std::string> hosts;
    std::map<std::string, std::vector<const MapPage*>> bySite;
    std::set<std::string> pageNames;
    for (const MapPage& page : map.pages) {
        pageNames.insert(page.name);
        if (bySite.find(page.host) == bySite.end()) {
            hosts.push_back(page.host);
        }
        bySite[page.host].push_back(&page);
    }
    int cluster = 0;
    for (const std::string& host : hosts) {
        const bool site = !host.empty();
        if (site) {
            out += "  subgraph cluster_" + std::to_string(cluster++) +
                   " {\n    label=" + Quoted(Utf8(host)) +
                   "; style=\"rounded,filled\"; fillcolor=\"#f2f5fa\"; color=\"#a0b0c8\";\n";
        }
        for (const MapPage* page : bySite[host]) {
            out += (site ? "    " : "  ") + PageNode(*page) + ";\n";
        }
        if (site) {
            out += "  }\n";
        }
    }
    std::set<std::string> others;
    for (const MapEdge& edge : map.edges) {
        const bool isPage = pageNames.count(edge.to) != 0;
        if (!isPage && others.insert(edge.to).second) {
            const std::string node = OtherNode(edge, isPage);
            if (!node.empty()) {
                out += "  " + node + ";\n";
            }
        }
    }
    // Each site is laid out by its own links, the sites one above the other:
    // links between sites, and links back towards the home page, leave the
    // columns alone, or the picture grows as wide as the longest round trip.
    const std::map<std::string, int> steps = StepsFromHome(map);
    std::map<std::string, std::string> siteOf;
    for (const MapPage& page : map.pages) {
        siteOf[page.name] = page.host;
    }
    for (const MapEdge& edge : map.edges) {
        out += "  " + Quoted(Utf8(edge.from)) + " -> " + Quoted(Utf8(edge.to)) + " [" +
               StyleOf(edge.kind).attributes;
        const auto from = steps.find(edge.from);
        const auto to = steps.find(edge.to);
        const auto site = siteOf.find(edge.to);
        const bool otherSite = site != siteOf.end() && site->second != siteOf[edge.from];
        const bool back = from != steps.end() && to != steps.end() && to->second <= from->second;
        if (arranged && (otherSite || back)) {
            out += ", constraint=false";
        }
        if (!edge.condition.empty()) {
            out += ", label=" + Quoted(Utf8(edge.condition));
        }
        out += "];\n";
    }
    out += Legend();
    out += "}\n";
    return out;
}

std::string ShellQuoted(const std::string& path) {
#ifdef _WIN32
    return "\"" + path + "\"";
#else
    std::string out = "'";
    for (char c : path) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
#endif
}

// Hands the graph to Graphviz's dot; its warnings reach standard error as they are.
int Render(const std::string& dot, const std::string& format, const std::string& out) {
    const std::string command = "dot -T" + format + " -o " + ShellQuoted(out);
#ifdef _WIN32
    FILE* pipe = _popen(command.c_str(), "wb");
#else
    FILE* pipe = popen(command.c_str(), "w");
#endif
    if (pipe == nullptr) {
        return Fail("cannot run Graphviz's dot");
    }
    const bool written = std::fwrite(dot.data(), 1, dot.size(), pipe) == dot.size();
#ifdef _WIN32
    const int status = _pclose(pipe);
#else
    const int raw = pclose(pipe);
    const int status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    if (status != 0 || !written) {
        return Fail("Graphviz's dot failed (status " + std::to_string(status) +
                    "); is the graphviz package installed?");
    }
    return 0;
}

std::optional<WorldMap> ReadMap(const std::string& worldDir) {
    std::optional<WorldMap> map = ReadWorldMap(worldDir);
    if (!map) {
        Fail("cannot read " + (std::filesystem::path(worldDir) / "Text.arc").string() +
             ": it is missing, or its table does not fit in the file");
    }
    return map;
}

}  // namespace

int MapText(const std::string& worldDir) {
    const std::optional<WorldMap> map = ReadMap(worldDir);
    if (!map) {
        return kExitError;
    }
    for (const MapEdge& edge : map->edges) {
        std::printf("%s\t%s\t%s\t%s\n", Utf8(edge.from).c_str(),
                    std::string(EdgeKindName(edge.kind)).c_str(), Utf8(edge.to).c_str(),
                    Utf8(edge.condition).c_str());
    }
    std::printf("unreachable\t%d\n", map->unreachable);
    return std::fflush(stdout) == 0 ? 0 : Fail("cannot write standard output");
}

int MapDraw(const std::string& worldDir, const std::string& out) {
    const std::string extension = std::filesystem::path(out).extension().string();
    if (extension != ".svg" && extension != ".png" && extension != ".dot") {
        return Fail("the map is written as .svg, .png or .dot, not \"" + out + "\"");
    }
    const std::optional<WorldMap> map = ReadMap(worldDir);
    if (!map) {
        return kExitError;
    }
    if (extension == ".dot") {
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        file << Dot(*map, true);
        file.close();
        return file ? 0 : Fail("cannot write " + out);
    }
    if (Render(Dot(*map, true), extension.substr(1), out) == 0) {
        return 0;
    }
    // Graphviz has been known to fail on some graphs with such hints.
    std::fprintf(stderr, "velarc: drawing the map again without arranging its columns\n");
    return Render(Dot(*map, false), extension.substr(1), out);
}
