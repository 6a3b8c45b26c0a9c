#include "app/download.hpp"

#include <commctrl.h>

#include <atomic>
#include <exception>
#include <memory>
#include <new>
#include <thread>

#include "app/files.hpp"
#include "history/file_name.hpp"
#include "net/download.hpp"
#include "net/sources.hpp"

using namespace zestawy;

namespace {

const char kCaption[] = "Pobierz najnowsze wyniki";
const char kClassName[] = "ZestawyPobieranie";
constexpr UINT kChanged = WM_APP + 2;   // the thread moved on: show it
constexpr UINT kFinished = WM_APP + 3;  // the thread has ended
constexpr int kStatusId = 1, kProgressId = 2;

// One download of the three games: made by the command, owned by its window.
struct Download {
    WindowState* state = nullptr;
    HWND window = nullptr, status = nullptr, progress = nullptr, stopButton = nullptr;
    Sources sources;
    std::string histories[3];
    GameDownload done[3];
    std::atomic<bool> stop{false};
    std::atomic<int> game{0};  // the one being fetched
    std::atomic<std::size_t> got{0}, total{0};
    std::thread worker;

    void run();
    void show() const;
    void finish(bool summary);
};

// On the worker thread. Tells the window at most about a thousand times a
// game.
void Download::run() {
    for (int i = 0; i < 3; ++i) {
        GameDownload& d = done[i];
        d.game = &kGames[i];
        if (stop) {
            d.stopped = true;
            continue;
        }
        game = i;
        got = total = 0;
        PostMessageW(window, kChanged, 0, 0);
        std::size_t shown = 0;
        auto keepGoing = [this] { return !stop; };
        try {
            d = downloadInto(
                histories[i], sources.urls[i], kGames[i], sources.limits,
                [&](std::size_t now, std::size_t all) {
                    got = now;
                    total = all;
                    if (now - shown > (all ? all / 1000 : 64 * 1024)) {
                        shown = now;
                        PostMessageW(window, kChanged, 0, 0);
                    }
                },
                keepGoing, keepGoing);
        } catch (const std::bad_alloc&) {
            d.failure = "za mało pamięci";
        } catch (const std::exception& e) {
            // Nothing may leave the thread; the game's line says what failed.
            d.failure = e.what();
        }
    }
    PostMessageW(window, kFinished, 0, 0);
}

std::string megabytes(std::size_t bytes) {
    const std::size_t tenths = (bytes * 10 + (1 << 19)) >> 20;
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " MB";
}

void Download::show() const {
    const std::size_t now = got, all = total;
    std::string text = "Pobieranie: " + std::string(kGames[game].name) + " (" +
                       std::to_string(game + 1) + " z 3), " + megabytes(now);
    if (all) text += " z " + megabytes(all);
    if (stop) text = "Przerywanie...";
    setWindowText(status, text.c_str());
    const int permille = all ? static_cast<int>(std::min<std::size_t>(now, all) * 1000 / all) : 0;
    SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(game * 1000 + permille), 0);
}

// A game's summary with no break inside its first line: the message box
// wraps at blanks, and would part "16978." from its date. The lines that
// follow it (the update's reasons) wrap as usual.
std::string oneLine(std::string summary) {
    const std::size_t end = std::min(summary.find('\n'), summary.size());
    for (std::size_t i = 0; i < end; ++i)
        if (summary[i] == ' ') summary[i] = '\xA0';  // a no-break space in Windows-1250
    return summary;
}

// Back on the window's thread once the worker has ended (or to end it).
void Download::finish(bool summary) {
    stop = stop || !summary;
    if (worker.joinable()) worker.join();
    WindowState& main = *state;
    main.download = nullptr;
    EnableWindow(main.main, TRUE);
    bool allWell = true;
    std::string text;
    for (const GameDownload& d : done) {
        // The next "Wczytaj" reads a changed history again.
        if (changedHistory(d)) main.history(d.game->game).clear();
        allWell = allWell && d.fetched &&
                  (d.plan.kind == UpdateKind::Added || d.plan.kind == UpdateKind::NothingNew);
        text += (text.empty() ? "" : "\n") + oneLine(downloadSummary(d));
    }
    const HWND owner = main.main;
    DestroyWindow(window);  // frees this
    if (summary)
        messageBox(owner, text.c_str(), kCaption, allWell ? MB_ICONINFORMATION : MB_ICONWARNING);
}

Download& downloadOf(HWND window) {
    return *reinterpret_cast<Download*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK downloadProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (ownedObjectMessage<Download>(
            window, msg, wParam, lParam, [](void* made) { return static_cast<Download*>(made); },
            result))
        return result;
    switch (msg) {
        case kChanged:
            downloadOf(window).show();
            return 0;
        case kFinished:
            downloadOf(window).finish(true);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) != IDCANCEL) return 0;
            [[fallthrough]];
        case WM_CLOSE: {
            Download& d = downloadOf(window);
            d.stop = true;
            EnableWindow(d.stopButton, FALSE);
            d.show();
            return 0;
        }
        default:
            return DefWindowProcW(window, msg, wParam, lParam);
    }
}

// The small window over the main one: the status line, the bar, "Przerwij".
bool openWindow(Download& d, HWND main) {
    const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main, GWLP_HINSTANCE));
    registerClass(instance, {kClassName, downloadProc, IDC_ARROW,
                             reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});

    const WindowState& s = *d.state;
    RECT frame = {0, 0, s.scaled(440), s.scaled(130)};
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    RECT owner;
    GetWindowRect(main, &owner);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    d.window =
        CreateWindowExW(WS_EX_DLGMODALFRAME, wide(kClassName).c_str(), wide(kCaption).c_str(),
                        style, (owner.left + owner.right - w) / 2,
                        (owner.top + owner.bottom - h) / 2, w, h, main, nullptr, instance, &d);
    if (!d.window) return false;
    const struct {
        const char* cls;
        const char* text;
        DWORD style;
        int id, x, y, w, h;
    } controls[] = {
        {"STATIC", "", SS_LEFT, kStatusId, 20, 15, 400, 20},
        {PROGRESS_CLASSA, "", 0, kProgressId, 20, 45, 400, 22},
        {"BUTTON", "Przerwij", BS_DEFPUSHBUTTON | WS_TABSTOP, IDCANCEL, 170, 85, 100, 30},
    };
    HWND made[3];
    for (int i = 0; i < 3; ++i) {
        const auto& c = controls[i];
        made[i] = CreateWindowExW(
            0, wide(c.cls).c_str(), wide(c.text).c_str(), WS_CHILD | WS_VISIBLE | c.style,
            s.scaled(c.x), s.scaled(c.y), s.scaled(c.w), s.scaled(c.h), d.window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        SendMessageW(made[i], WM_SETFONT,
                     reinterpret_cast<WPARAM>(s.controlFont ? s.controlFont
                                                            : GetStockObject(DEFAULT_GUI_FONT)),
                     FALSE);
    }
    d.status = made[0];
    d.progress = made[1];
    d.stopButton = made[2];
    SendMessageW(d.progress, PBM_SETRANGE32, 0, 3000);
    return true;
}

}  // namespace

bool handleDownloadCommand(WindowState& state, int id) {
    if (id != kCmdDownload) return false;
    if (state.download) return true;
    auto d = std::make_unique<Download>();
    d->state = &state;
    // The error names the file it found.
    d->sources = findSources(programFolder());
    if (!d->sources.error.empty()) {
        messageBox(state.main, d->sources.error.c_str(), kCaption, MB_ICONERROR);
        return true;
    }
    // The histories that "Wczytaj" reads; a new one beside the program where
    // there is none.
    for (const GameRow& game : kGames) {
        std::string& history = d->histories[static_cast<int>(game.game)];
        history = findHistory(game);
        if (history.empty()) history = programFolder() + "\\" + game.historyFileUtf8;
    }
    if (!openWindow(*d, state.main)) return true;
    Download& running = *d.release();  // its window owns it now
    state.download = running.window;
    EnableWindow(state.main, FALSE);
    running.show();
    ShowWindow(running.window, SW_SHOW);
    running.worker = std::thread([&running] { running.run(); });
    return true;
}

void stopDownload(WindowState& state) {
    if (state.download) downloadOf(state.download).finish(false);
}

bool downloadKey(const MSG& msg) {
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    return isOfClass(root, kClassName) && IsDialogMessageW(root, const_cast<MSG*>(&msg));
}
