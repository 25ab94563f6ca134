#include "browser/BrowserSession.h"

#include <memory>
#include <utility>

#include "Message.h"
#include "game/Search.h"
#include "game/StoryRules.h"
#include "html/Forms.h"
#include "html/TokenList.h"
#include "text/ShiftJis.h"

BrowserSession::BrowserSession(GameState& state, VisitedList& visited, const Archive& textArchive,
                               SessionHost& host, PageHost* pageHost)
    : state_(state),
      visited_(visited),
      textArchive_(textArchive),
      host_(host),
      pageHost_(pageHost),
      searchTable_(kPageTableSlots) {}

void BrowserSession::SetSearchTable(std::vector<SearchRecord> table) {
    table.resize(kPageTableSlots);
    searchTable_ = std::move(table);
}

void BrowserSession::LeavePage(TokenList* page) {
    if (page != nullptr) {
        host_.LayoutDiscarded(*page);
        page->DiscardLayout();
    }
}

void BrowserSession::OpenPage(std::string fileName, OpenMode mode) {
    fileName = ApplyNameRules(state_, std::move(fileName));
    host_.SetStatusText("ページを開いています。");
    lastKeyword_.clear();
    TokenList* leaving = currentPage();
    if (leaving != nullptr) {
        host_.HidePageControls(*leaving);
    }
    switch (mode) {
        case OpenMode::New:
            AppendNewPage(fileName).LoadPage(textArchive_, fileName);
            CountPageLoad(state_);
            break;
        case OpenMode::Back:
            if (history_.CanGoBack()) {
                LeavePage(leaving);
                history_.Back();
                host_.HistoryChanged();
            }
            break;
        case OpenMode::Forward:
            if (history_.CanGoForward()) {
                LeavePage(leaving);
                history_.Forward();
                host_.HistoryChanged();
            }
            break;
    }
    host_.ShowCurrentPage();
    ShowPageAddress(fileName);
    visited_.Add(fileName);
    host_.SetStatusText("ページが表示されました。");
    host_.PlayPageSound(std::string(PageSoundFile(fileName)));
    host_.ScrollToTop();
    host_.SaveGame();
}

TokenList& BrowserSession::AppendNewPage(const std::string& name) {
    LeavePage(currentPage());
    auto page = std::make_unique<TokenList>();
    page->SetHost(pageHost_);
    // The name it was opened with, until the page table gives it its own.
    page->SetName(name);
    TokenList& opened = history_.OpenNew(std::move(page));
    host_.HistoryChanged();
    return opened;
}

void BrowserSession::BuildSearchPage(const std::string& text) {
    lastKeyword_ = text;
    std::vector<std::string> words;
    if (SplitKeywords(text, words) < 0) {
        return;
    }
    host_.SetStatusText("ページを開いています。");
    if (TokenList* leaving = currentPage()) {
        host_.HidePageControls(*leaving);
    }
    FillSearchPage(textArchive_, searchTable_, words, AppendNewPage("Search.htm"));
    host_.ShowCurrentPage();
    ShowPageAddress("Search.htm");
    visited_.Add("Search.htm");
    host_.SetStatusText("ページが表示されました。");
}

void BrowserSession::GoBack() {
    if (const TokenList* page = history_.previous()) {
        OpenPage(page->name(), OpenMode::Back);
    }
}

void BrowserSession::GoForward() {
    if (const TokenList* page = history_.next()) {
        OpenPage(page->name(), OpenMode::Forward);
    }
}

bool BrowserSession::ClickLink(const std::string& target) {
    // The target is our own copy: a scene may change the page under the link.
    const std::string name = target;
    if (OfferToSpecialHandlers(name)) {
        return true;
    }
    OpenPage(name, OpenMode::New);
    return false;
}

bool BrowserSession::OfferToSpecialHandlers(const std::string& target) {
    // Every handler hears every target.
    bool handled = HandleMessageLink(target);
    handled = HandleNoteLink(target) || handled;
    handled = HandlePluginLink(target) || handled;
    handled = HandleDownloadLink(target) || handled;
    return handled;
}

bool BrowserSession::HandleMessageLink(const std::string& target) {
    const int index = MessagePageIndex(target);
    if (index < 0) {
        return false;
    }
    visited_.Add(target);
    host_.PlayScene(ScenarioKind::Message, index);
    // What the scene solved is kept at once, not only at the next page.
    host_.SaveGame();
    return true;
}

bool BrowserSession::HandleNoteLink(const std::string& target) {
    const int index = NotePageIndex(target);
    if (index < 0) {
        return false;
    }
    MarkNoteRead(state_, index);
    visited_.Add(target);
    host_.PlayScene(ScenarioKind::Note, index);
    host_.SaveGame();
    return true;
}

bool BrowserSession::HandlePluginLink(const std::string& target) {
    if (!IsPluginLink(target)) {
        return false;
    }
    if (state_.pluginMissing != 0) {
        if (host_.RunPluginSetup()) {
            InstallPlugin(state_);
        }
        visited_.Add("plugin");
        host_.SaveGame();
    } else {
        ShowMessage(std::string(kPluginAlreadyInstalledText));
    }
    return true;
}

bool BrowserSession::HandleDownloadLink(const std::string& target) {
    const std::optional<std::string> fileName = DownloadFileName(target);
    if (!fileName) {
        return false;
    }
    host_.OfferDownload(*fileName);
    return true;
}

void BrowserSession::OpenProtectedPage(int index) {
    if (index < 0 || index >= kProtectedPageCount) {
        return;
    }
    if (state_.passwordSolved[static_cast<size_t>(index)] == 0 && !host_.AskPassword(index)) {
        return;
    }
    OpenPage(ProtectedPageName(index), OpenMode::New);
}

void BrowserSession::PressButton(const FormButton& button) {
    if (button.submit) {
        // Our own copy: the page the button stands on may be left.
        Submit(std::string(button.action));
        return;
    }
    if (button.group == nullptr) {
        return;
    }
    for (const auto& field : button.group->fields) {
        if (field->window) {
            field->window->SetText(field->initialValue);
        }
    }
}

void BrowserSession::Submit(const std::string& action) {
    const SubmitDecision decision = DecideSubmit(action);
    switch (decision.kind) {
        case SubmitDecision::Kind::ProtectedPage:
            OpenProtectedPage(decision.protectedPage);
            break;
        case SubmitDecision::Kind::Search:
            StartSearch();
            break;
        case SubmitDecision::Kind::OpenPage:
            OpenPage(action, OpenMode::New);
            break;
        case SubmitDecision::Kind::Nothing:
            break;
    }
}

void BrowserSession::EnterInField(FormTextField& field) {
    const std::string text = field.window ? field.window->Text() : std::string();
    field.changed = false;
    if (!text.empty()) {
        BuildSearchPage(text);
    }
}

void BrowserSession::StartSearch() {
    const TokenList* page = currentPage();
    if (page == nullptr) {
        return;
    }
    for (const auto& group : page->forms()) {
        if (const FormTextField* field = group->FindKeywordField()) {
            const std::string text = field->window ? field->window->Text() : std::string();
            if (!text.empty()) {
                BuildSearchPage(text);
            }
            return;
        }
    }
}

void BrowserSession::ShowPageAddress(const std::string& fileName) {
    TokenList* page = currentPage();
    if (page == nullptr) {
        return;
    }
    for (const SearchRecord& record : searchTable_) {
        if (EqualsIgnoringAsciiCase(record.fileName, fileName)) {
            page->SetName(fileName);
            page->SetAddress(record.address);
            host_.ShowAddress(record.address);
            return;
        }
    }
    if (EqualsIgnoringAsciiCase(fileName, "urlmiss.htm")) {
        page->SetName(fileName);
    }
}

std::string BrowserSession::LookUpAddress(const std::string& fileName) const {
    for (const SearchRecord& record : searchTable_) {
        if (EqualsIgnoringAsciiCase(record.fileName, fileName)) {
            return record.address;
        }
    }
    return "nofile";
}
