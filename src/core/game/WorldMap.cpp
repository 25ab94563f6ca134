#include "game/WorldMap.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "Message.h"
#include "archive/Archive.h"
#include "browser/AddressBook.h"
#include "game/GameState.h"
#include "game/PageTable.h"
#include "game/Scene.h"
#include "game/StoryRules.h"
#include "game/WorldCheck.h"
#include "html/PageReferences.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"
#include "text/StringList.h"

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(FoldAsciiCase(static_cast<uint8_t>(c)));
    }
    return out;
}

// "http://www.example.jp/a/b.htm" -> "www.example.jp".
std::string HostOf(std::string_view address) {
    if (const size_t scheme = address.find("://"); scheme != std::string_view::npos) {
        address.remove_prefix(scheme + 3);
    }
    return Lower(address.substr(0, address.find('/')));
}

void IgnoreMessage(const std::string&) {}

MapEdge Edge(const std::string& from, MapEdge::Kind kind, std::string to,
             std::string condition = {}) {
    return {from, kind, std::move(to), std::move(condition)};
}

// The edges a page's links and form buttons make.
void AddPageEdges(const std::string& from, const PageReferences& references,
                  std::vector<MapEdge>& edges) {
    using Kind = MapEdge::Kind;
    for (const std::string& target : references.links) {
        if (target.empty()) {
            continue;
        }
        const LinkAction action = ClassifyLink(target);
        switch (action.kind) {
            case LinkAction::Kind::Message:
                edges.push_back(Edge(from, Kind::Message,
                                     ScenarioFileName(ScenarioKind::Message, action.index)));
                break;
            case LinkAction::Kind::Note:
                edges.push_back(
                    Edge(from, Kind::Note, ScenarioFileName(ScenarioKind::Note, action.index)));
                break;
            case LinkAction::Kind::Plugin:
                edges.push_back(Edge(from, Kind::Plugin, "plugin"));
                break;
            case LinkAction::Kind::Download:
                edges.push_back(Edge(from, Kind::Download, Lower(action.downloadFile)));
                break;
            case LinkAction::Kind::ProtectedPage:  // a plain link opens it without a password
            case LinkAction::Kind::Page:
                edges.push_back(Edge(from, Kind::Link, Lower(target)));
                break;
        }
    }
    for (const PageInput& input : references.inputs) {
        if (input.kind != InputKind::Submit) {
            continue;
        }
        const SubmitDecision decision = DecideSubmit(input.name);
        switch (decision.kind) {
            case SubmitDecision::Kind::ProtectedPage:
                edges.push_back(Edge(from, Kind::Protected,
                                     ProtectedPageName(decision.protectedPage),
                                     "password " + std::to_string(decision.protectedPage)));
                break;
            case SubmitDecision::Kind::Search:
                edges.push_back(Edge(from, Kind::Form, "search.htm", "search"));
                break;
            case SubmitDecision::Kind::OpenPage:
                if (!input.name.empty()) {
                    edges.push_back(Edge(from, Kind::Form, Lower(input.name)));
                }
                break;
            case SubmitDecision::Kind::Nothing:
                break;
        }
    }
}

void MarkReached(WorldMap& map, const std::vector<SearchRecord>& table) {
    std::map<std::string, MapPage*> byName;
    for (MapPage& page : map.pages) {
        byName.emplace(page.name, &page);
    }
    std::vector<std::string> pending;
    for (const BrowserPage& page : kBrowserPages) {
        pending.emplace_back(page.name);
    }
    pending.push_back(map.home);
    for (const SearchRecord& record : table) {
        if (const std::string page = ResolveAddress(table, record.address); page != kNoFile) {
            pending.push_back(Lower(page));
        }
        if (!record.keywords.empty() && !record.fileName.empty()) {
            pending.push_back(Lower(record.fileName));
        }
    }
    while (!pending.empty()) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        const auto page = byName.find(name);
        if (page == byName.end() || page->second->reached) {
            continue;
        }
        page->second->reached = true;
        for (const MapEdge& edge : map.edges) {
            if (edge.from == name && LeadsToPage(edge.kind)) {
                pending.push_back(edge.to);
            }
        }
    }
    map.unreachable = static_cast<int>(std::count_if(map.pages.begin(), map.pages.end(),
                                                     [](const MapPage& p) { return !p.reached; }));
}

}  // namespace

bool LeadsToPage(MapEdge::Kind kind) {
    return kind == MapEdge::Kind::Link || kind == MapEdge::Kind::Form ||
           kind == MapEdge::Kind::Protected || kind == MapEdge::Kind::Rule;
}

std::string_view EdgeKindName(MapEdge::Kind kind) {
    switch (kind) {
        case MapEdge::Kind::Link:
            return "link";
        case MapEdge::Kind::Message:
            return "message";
        case MapEdge::Kind::Note:
            return "note";
        case MapEdge::Kind::Protected:
            return "protected";
        case MapEdge::Kind::Form:
            return "form";
        case MapEdge::Kind::Download:
            return "download";
        case MapEdge::Kind::Plugin:
            return "plugin";
        case MapEdge::Kind::Rule:
            return "rule";
    }
    return "link";
}

std::optional<WorldMap> ReadWorldMap(const std::string& worldDir) {
    const std::filesystem::path path = std::filesystem::path(worldDir) / "Text.arc";
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    Archive text;
    const MessageHandler previous = SetMessageHandler(IgnoreMessage);
    text.Open(path.string());
    SetMessageHandler(previous);
    if (!text.loaded()) {
        return std::nullopt;
    }
    const std::vector<SearchRecord> table = LoadPageTable(text);
    const std::vector<std::string> names = WorldPageNames(text);

    WorldMap map;
    map.home = Lower(GameState::NewGame().homePage.view());
    std::vector<MapEdge> edges;
    for (const std::string& name : names) {
        MapPage page;
        page.name = Lower(name);
        StringList tokens;
        if (const std::optional<EntryData> data = text.ReadEntry(name, kPageReaderBuffers)) {
            TokenizePage(data->bytes.data(), std::min<size_t>(data->size, data->bytes.size()),
                         tokens);
        }
        const PageReferences references = ReadPageReferences(tokens);
        page.title = references.title;
        for (const SearchRecord& record : table) {
            if (EqualsIgnoringAsciiCase(record.fileName, name)) {
                page.listed = true;
                page.title = record.title;
                page.address = record.address;
                page.host = HostOf(record.address);
                break;
            }
        }
        AddPageEdges(page.name, references, edges);
        map.pages.push_back(std::move(page));
    }
    for (const StoryReplacement& r : FindStoryReplacements(names)) {
        edges.push_back(
            Edge(Lower(r.from), MapEdge::Kind::Rule, Lower(r.to), DescribeReplacement(r)));
    }
    // Edges by page, in page order: the rules' after the page's own.
    for (const MapPage& page : map.pages) {
        for (const MapEdge& edge : edges) {
            const bool seen =
                std::any_of(map.edges.begin(), map.edges.end(), [&](const MapEdge& e) {
                    return e.from == edge.from && e.kind == edge.kind && e.to == edge.to &&
                           e.condition == edge.condition;
                });
            if (edge.from == page.name && !seen) {
                map.edges.push_back(edge);
            }
        }
    }
    MarkReached(map, table);
    return map;
}
