// The search engine at its largest: 300 page-table records of 30 keywords
// each, searched for 30 keywords, every one of them found in every record.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "game/PageTable.h"
#include "game/Search.h"
#include "html/TokenList.h"
#include "text/StringList.h"

namespace {

std::vector<SearchRecord> FullTable() {
    std::vector<SearchRecord> table(kPageTableSlots);
    for (size_t slot = 0; slot < table.size(); ++slot) {
        SearchRecord& record = table[slot];
        record.fileName = "page" + std::to_string(slot) + ".htm";
        record.title = "霧見坂のページ " + std::to_string(slot);
        for (int k = 0; k < 30; ++k) {
            record.keywords.push_back("霧の言葉" + std::to_string(k));
        }
    }
    return table;
}

void SearchFullTable(benchmark::State& state) {
    const std::vector<SearchRecord> table = FullTable();
    std::string text;
    for (int k = 0; k < 30; ++k) {
        text += "霧の言葉" + std::to_string(29 - k) + "　";
    }
    StringList refused;
    refused.AppendText("だめ");
    int results = 0;
    for (auto _ : state) {
        std::vector<std::string> words;
        SplitKeywords(text, words);
        TokenList page;
        page.AppendText("<html>");
        page.AppendText("<!>");
        results = InsertSearchResults(page, words, IsBlocked(words, refused), table);
        benchmark::DoNotOptimize(page.count());
    }
    state.counters["results"] = results;
}
BENCHMARK(SearchFullTable)->Unit(benchmark::kMillisecond);

}  // namespace
