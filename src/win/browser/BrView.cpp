#include "browser/BrView.h"

#include <commdlg.h>

#include <algorithm>

#include "Message.h"
#include "app/BrApp.h"
#include "dialogs/DownloadDlg.h"
#include "dialogs/FavouriteDlgs.h"
#include "dialogs/PluginSetupDlg.h"
#include "frame/MainFrame.h"
#include "framework/GdiCanvas.h"
#include "framework/Text.h"
#include "framework/WinApp.h"
#include "game/PageTable.h"
#include "resource.h"
#include "story/MessageWnd.h"
#include "story/PasswordDlg.h"
#include "story/SceneHost.h"
#include "text/ShiftJis.h"

namespace {

// A scene's view of the browser: the current page's picture-name rule, the
// view's picture loading and its pages.
class ViewSceneHost : public SceneHost {
  public:
    explicit ViewSceneHost(CBrView& view) : view_(view) {}
    std::string PictureName(const std::string& name) override {
        const TokenList* page = view_.currentPage();
        return page != nullptr ? page->PictureName(name) : name;
    }
    bool LoadPicture(std::string_view name, DibPicture& picture) override {
        return view_.LoadPicture(name, picture);
    }
    void OpenPage(const std::string& fileName) override {
        view_.OpenPage(fileName, CBrView::OpenMode::New);
    }

  private:
    CBrView& view_;
};

}  // namespace

CBrView::CBrView(CMainFrame& frame)
    : frame_(frame),
      session_(TheApp().settings, frame.visitedList(), TheApp().archives[CBrApp::kText], *this,
               this),
      pluginPacing_(CPluginSetupDlg::SystemPacing()) {
    session_.SetSearchTable(LoadPageTable(TheApp().archives[CBrApp::kText]));
}

CBrView::~CBrView() = default;

const MessageMap* CBrView::GetMessageMap() const {
    static constexpr MessageEntry kEntries[] = {
        OnMessage<&CBrView::OnEraseBackground>(WM_ERASEBKGND),
        OnCommand<&CBrView::OnFileOpen>(ID_FILE_OPEN),
        OnCommand<&CBrView::OnFilePrint>(ID_FILE_PRINT),
        OnCommand<&CBrView::OnFilePrint>(ID_FILE_PRINT_DIRECT),
        OnCommand<&CBrView::OnFilePrintSetup>(ID_FILE_PRINT_SETUP),
        // No preview, and no second document: the browser has one window,
        // and reading the save file again in the middle of play would throw
        // away its history.
        OnCommand<&CBrView::OnNothing>(ID_FILE_PRINT_PREVIEW),
        OnCommand<&CBrView::OnNothing>(ID_FILE_NEW),
        OnCommand<&CBrView::OnNothing>(ID_VIEW_RESERVED_A),
        OnCommand<&CBrView::OnNothing>(ID_VIEW_RESERVED_B),
        OnMessage<&CBrView::OnLeftButtonDown>(WM_LBUTTONDOWN),
        OnMessage<&CBrView::OnLeftButtonUp>(WM_LBUTTONUP),
        OnMessage<&CBrView::OnMouseMove>(WM_MOUSEMOVE),
        OnMessage<&CBrView::OnDestroy>(WM_DESTROY),
        OnMessage<&CBrView::OnRelayout>(kRelayoutMessage),
        OnMessage<&CBrView::OnSoundEnded>(MM_MCINOTIFY),
    };
    static const MessageMap map{CScrollView::GetMessageMap(), kEntries};
    return &map;
}

void CBrView::OnInitialUpdate() {
    LoadState();
    // Hidden until the tool button shows it; it stays above the browser.
    favouritesWnd_ = std::make_unique<CFavouritesWnd>();
    favouritesWnd_->SetPosition(favouritesPosition_);
    favouritesWnd_->Create(frame_.GetSafeHwnd());
    favouritesWnd_->SetFavouriteList(&bookmarks_);
    CScrollView::SetScrollSizes(0, 0);
    TheApp().SetAnimationTarget(&frame_);

    // The page bitmap, in the screen's format.
    WindowDC screen(nullptr);
    backBuffer_.reset(CreateBitmap(TokenList::kMaxPageWidth, TokenList::kMaxPageHeight,
                                   static_cast<UINT>(GetDeviceCaps(screen.get(), PLANES)),
                                   static_cast<UINT>(GetDeviceCaps(screen.get(), BITSPIXEL)),
                                   nullptr));
    if (!backBuffer_) {
        ShowMessage("メモリが足りません。");
    }
    OpenPage(bookmarks_.homePage(), OpenMode::New);
    pageReady_ = true;
    PostMessageW(GetSafeHwnd(), kRelayoutMessage, 0, 0);
}

void CBrView::SetStatusText(const std::string& text) {
    frame_.SetStatusText(text);
}

void CBrView::LayoutDiscarded(TokenList& page) {
    // The links of the page are going; none of them may stay hot.
    if (&page == currentPage()) {
        hotLink_ = nullptr;
    }
}

void CBrView::HistoryChanged() {
    frame_.toolButton().UpdateButtonStates(history());
}

void CBrView::ShowCurrentPage() {
    frame_.EnableProgress(true);
    PaintBackBuffer();
    frame_.EnableProgress(false);
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CBrView::ShowAddress(const std::string& address) {
    frame_.addressBar().ShowAddress(address);
}

void CBrView::PlayPageSound(const std::string& fileName) {
    // The same sound just goes on; a new one starts from the beginning.
    if (soundPlayer_.Open(fileName)) {
        soundPlayer_.Play(GetSafeHwnd());
    }
}

LRESULT CBrView::OnSoundEnded(WPARAM wParam, LPARAM lParam) {
    // Page sounds loop until another replaces them.
    if (wParam == MCI_NOTIFY_SUCCESSFUL && soundPlayer_.loop() == 1 &&
        static_cast<MCIDEVICEID>(lParam) == soundPlayer_.deviceId()) {
        soundPlayer_.Play(GetSafeHwnd());
    }
    return 0;
}

void CBrView::ScrollToTop() {
    ScrollToPosition({0, 0});
}

void CBrView::PlayScene(ScenarioKind kind, int number) {
    // Modal over the browser window, which takes no clicks meanwhile.
    CBrApp& app = TheApp();
    ViewSceneHost host(*this);
    CMessageWnd window(frame_.GetSafeHwnd(), app.settings, app.passwordLists, host);
    if (kind == ScenarioKind::Message) {
        window.LoadTousText(app.archives[CBrApp::kText], number);
    } else {
        window.LoadSugaText(app.archives[CBrApp::kText], number);
    }
    window.DoModal();
}

bool CBrView::AskPassword(int slot) {
    CBrApp& app = TheApp();
    CPasswordDlg dialog(frame_.GetSafeHwnd(), slot, app.settings, app.passwordLists);
    return dialog.DoModal() == CPasswordDlg::kAccepted;
}

void CBrView::OfferDownload(const std::string& fileName) {
    DownloadDialog dialog(frame_.GetSafeHwnd(), TheApp().archives[CBrApp::kEx]);
    dialog.SetFile(fileName);
    dialog.DoModal();
}

bool CBrView::RunPluginSetup() {
    CPluginSetupDlg dialog(frame_.GetSafeHwnd(), pluginPacing_);
    return dialog.DoModal() == IDOK;
}

// Runs draw(page, canvas) on the page bitmap; false when there is no page or
// no bitmap to draw on.
template <typename Draw>
bool CBrView::DrawOnBackBuffer(const Draw& draw) {
    TokenList* page = currentPage();
    if (page == nullptr) {
        return false;
    }
    WindowDC screen(nullptr);
    MemoryDC dc(screen.get());
    if (backBuffer_) {
        SelectInto select(dc.get(), backBuffer_.get());
        GdiCanvas canvas(dc.get());
        draw(*page, canvas);
    } else {
        // Without a page bitmap the page is still laid out, on the memory
        // DC's own tiny bitmap, so that its title, links and size are known.
        GdiCanvas canvas(dc.get());
        draw(*page, canvas);
    }
    return true;
}

void CBrView::PaintBackBuffer() {
    const bool painted = DrawOnBackBuffer([](TokenList& page, GdiCanvas& canvas) {
        // A page without a body, or one the archive lacks, shows white, never
        // the pixels of the page before.
        canvas.FillRect({0, 0, TokenList::kMaxPageWidth, TokenList::kMaxPageHeight},
                        MakeColour(255, 255, 255));
        page.ResetLayout();
        page.RenderPage(canvas);
    });
    if (painted) {
        frame_.SetProgressPos(0);
    }
}

void CBrView::OnDraw(HDC dc) {
    if (!pageReady_) {
        return;
    }
    if (!backBuffer_) {
        RECT client;
        GetClientRect(GetSafeHwnd(), &client);
        const Point at = GetScrollPosition();
        OffsetRect(&client, at.x, at.y);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        return;
    }
    RECT client;
    GetClientRect(GetSafeHwnd(), &client);
    const Point at = GetScrollPosition();
    MemoryDC memory(dc);
    SelectInto select(memory.get(), backBuffer_.get());
    BitBlt(dc, at.x, at.y, client.right, client.bottom, memory.get(), at.x, at.y, SRCCOPY);
}

BOOL CBrView::OnEraseBackground(HDC dc) {
    // Never erased: the page bitmap covers everything.
    ExcludeUpdateRgn(dc, GetSafeHwnd());
    return TRUE;
}

LinkElement* CBrView::LinkAt(POINT clientPoint) const {
    const TokenList* page = currentPage();
    if (page == nullptr) {
        return nullptr;
    }
    const Point scroll = GetScrollPosition();
    return page->HitTest({clientPoint.x + scroll.x, clientPoint.y + scroll.y});
}

void CBrView::OnMouseMove(UINT, POINT at) {
    const TokenList* page = currentPage();
    if (page != nullptr) {
        const Point scroll = GetScrollPosition();
        const Point point{at.x + scroll.x, at.y + scroll.y};
        for (const auto& link : page->links()) {
            if (link->HitRect().Contains(point)) {
                SetCursor(TheApp().linkCursor);
                frame_.SetStatusText(frame_.LookUpAddress(link->target));
                hotLink_ = link.get();
                break;
            }
            if (link.get() == hotLink_) {
                frame_.SetStatusText("");
            }
        }
    }
    Default();
}

void CBrView::OnLeftButtonDown(UINT, POINT at) {
    if (LinkElement* link = LinkAt(at)) {
        hotLink_ = link;
    }
    Default();
}

void CBrView::OnLeftButtonUp(UINT, POINT at) {
    LinkElement* link = LinkAt(at);
    if (link != nullptr && link == hotLink_) {
        const TokenList* page = currentPage();
        const std::string target = link->target;
        if (session_.ClickLink(target)) {
            // The link is drawn again in its visited colour, if its page is
            // still the one shown (a scene may have opened another).
            LinkElement* again = currentPage() == page ? LinkAt(at) : nullptr;
            if (again != nullptr && again->target == target) {
                RepaintLink(*again);
            }
        }
    }
    Default();
}

void CBrView::RepaintLink(LinkElement& link) {
    const bool drawn = DrawOnBackBuffer(
        [&link](TokenList& page, GdiCanvas& canvas) { page.DrawLink(link, canvas); });
    if (!drawn) {
        return;
    }
    RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CBrView::OnFilePrint() {
    const TokenList* page = currentPage();
    if (page == nullptr || !backBuffer_) {
        return;
    }
    // The page as the view shows it: all of it, and at least the client area.
    const Rect client = ClientRect();
    const int width =
        std::min(std::max(page->pageWidth(), client.width()), TokenList::kMaxPageWidth);
    const int height =
        std::min(std::max(page->pageHeight(), client.height()), TokenList::kMaxPageHeight);
    printer_.Print(frame_.GetSafeHwnd(), backBuffer_.get(), width, height,
                   Widen(WindowTitleFor(page->title())));
}

void CBrView::OnFilePrintSetup() {
    printer_.PageSetup(frame_.GetSafeHwnd());
}

void CBrView::OnFileOpen() {
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetSafeHwnd();
    ofn.lpstrFilter = L"Htm Files (*.htm)\0*.htm\0\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = L"htm";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&ofn)) {
        // The world knows its pages by name, wherever the chosen file lies.
        OpenPage(std::string(FileNameOfPath(Narrow(path))), OpenMode::New);
    }
}

LRESULT CBrView::OnRelayout(WPARAM, LPARAM) {
    if (TokenList* page = currentPage()) {
        // The first page once more, now that the frame has its final size.
        page->DiscardLayout();
        hotLink_ = nullptr;
        TruncateHistory();
        PaintBackBuffer();
        InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
    }
    return 0;
}

void CBrView::OnDestroy() {
    soundPlayer_.Close();
    SaveState();
    backBuffer_.reset();
    Default();
}

Rect CBrView::ClientRect() const {
    RECT rc;
    GetClientRect(GetSafeHwnd(), &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

int CBrView::ViewWindowWidth() const {
    RECT rc;
    GetWindowRect(GetSafeHwnd(), &rc);
    return rc.right - rc.left;
}

void CBrView::SetProgressRange(int lower, int upper) {
    frame_.SetProgressRange(lower, upper);
}

void CBrView::SetProgressPos(int position) {
    frame_.SetProgressPos(position);
}

void CBrView::AdvanceProgress(int delta) {
    frame_.AdvanceProgress(delta);
}

void CBrView::SetWindowTitle(const std::string& text) {
    SetWindowTextW(frame_.GetSafeHwnd(), Widen(text).c_str());
}

bool CBrView::IsVisited(std::string_view name) const {
    return frame_.IsVisited(name);
}

int CBrView::TextSizeOffset() const {
    return frame_.GetTextSizeOffset();
}

bool CBrView::PluginInstalled() const {
    return TheApp().settings.pluginMissing == 0;
}

bool CBrView::CapsLockOn() const {
    return GetKeyState(VK_CAPITAL) != 0;
}

bool CBrView::LoadPicture(std::string_view name, DibPicture& slot) {
    CBrApp& app = TheApp();
    return slot.Load(name, PictureSources{&app.archives[CBrApp::kCg], &app.archives[CBrApp::kEx],
                                          &app.archives[CBrApp::kParts]});
}

Point CBrView::favouritesPosition() const {
    return favouritesWnd_ ? favouritesWnd_->position() : favouritesPosition_;
}
