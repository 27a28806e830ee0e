// The native dialog as a user drives it: the real dialog, reader and progress window run on
// this program's main thread while a second thread finds their windows and clicks their
// buttons with window messages. Only the file dialogs answer from a script.

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "app/analyser_reader.h"
#include "app/threaded_reader.h"
#include "base/utf8_path.h"
#include "support/holding_progress.h"
#include "support/temp_dir.h"
#include "support/video_es_writer.h"
#include "win/main_dialog.h"
#include "win/progress_window.h"
#include "win/wide_text.h"
#include "win/win_prompts.h"
#include "win/win_ui_thread.h"

namespace quarnel {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "dialog_driver: %s\n", what);
    std::fflush(stderr);
    ExitProcess(1);
}

void check(bool condition, const char* what) {
    if (!condition) fail(what);
}

// Waits up to `seconds` for `ready`; fails with `what` otherwise.
template <typename Ready>
auto wait_for(Ready ready, const char* what, int seconds = 30) {
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        if (auto found = ready()) return found;
        if (Clock::now() > end) fail(what);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// The file dialogs answer from a script; message boxes are the real ones.
class ScriptedFileDialogs : public Win32Prompts {
  public:
    using Win32Prompts::Win32Prompts;
    std::optional<std::string> choose_file_to_open(const std::string&) override {
        return next(open_answers);
    }
    std::optional<std::string> choose_file_to_save(const std::string& folder,
                                                   const std::string& name) override {
        proposed_folder = folder;
        proposed_name = name;
        return next(save_answers);
    }

    std::deque<std::string> open_answers;
    std::deque<std::string> save_answers;
    std::string proposed_folder;
    std::string proposed_name;

  private:
    static std::optional<std::string> next(std::deque<std::string>& answers) {
        if (answers.empty()) return std::nullopt;
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

std::wstring text_of(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

struct DialogSearch {
    const std::wstring& caption;
    HWND besides;
    HWND found;
};

BOOL CALLBACK match_dialog(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<DialogSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t type[16] = {};
    GetClassNameW(window, type, 16);
    if (process != GetCurrentProcessId() || window == search.besides || !IsWindowVisible(window) ||
        std::wstring(type) != L"#32770" || text_of(window) != search.caption)
        return TRUE;
    search.found = window;
    return FALSE;
}

// A visible top-level dialog of this process with `caption`, other than `besides`.
HWND find_dialog(const std::wstring& caption, HWND besides = nullptr) {
    DialogSearch search{caption, besides, nullptr};
    EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a message box and a click on its button `button`.
std::wstring answer_message_box(HWND box, int button) {
    const std::wstring text = text_of(GetDlgItem(box, 0xFFFF));
    SendMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    return text;
}

HWND control(HWND dialog, ControlId id) {
    return GetDlgItem(dialog, static_cast<int>(id));
}

void click(HWND dialog, ControlId id) {
    PostMessageW(control(dialog, id), BM_CLICK, 0, 0);
}

// The drop the shell hands a window: a DROPFILES block and the wide paths after it.
void drop_files(HWND target, const std::vector<std::string>& paths) {
    std::wstring list;
    for (const std::string& path : paths) list += wide_from_utf8(path) + L'\0';
    list += L'\0';
    const std::size_t bytes = list.size() * sizeof(wchar_t);
    const HGLOBAL drop = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(drop));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list.data(), bytes);
    GlobalUnlock(drop);
    PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}

std::vector<char> file_bytes(const std::string& path) {
    std::ifstream in(path_from_utf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool exists(const std::string& path) {
    return std::filesystem::exists(path_from_utf8(path));
}

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A video stream without GOP time codes, so that reading it scans the whole stream for a
// GOP list; `gops` sets its length.
std::vector<std::uint8_t> stream(int gops) {
    test::VideoEsWriter es;
    es.sequence(test::mpeg2_sequence(720, 480));
    for (int i = 0; i < gops; ++i) es.gop({.closed_gop = true}).pictures("IBBPBBPBBPBB");
    es.sequence_end();
    return es.data();
}

struct Run {
    test::TempDir temp;
    ScriptedFileDialogs prompts{Language::english};
    Win32UiThread ui;
    test::Hold hold{30};
    std::atomic<bool> hold_scans{false};  // set by the user thread, read by the reading one
    std::atomic<Clock::time_point> read_ended{};
    Win32MainDialog dialog{
        Language::english, prompts,
        threaded_reader(ui, win32_progress_windows(Language::english),
                        [this](MtvHeader& header, const std::string& path, bool video, bool audio,
                               const ProgressFactory& progress) {
                            const ProgressFactory held = [&] {
                                return std::make_unique<test::HoldingProgress>(progress(), hold);
                            };
                            const bool read = read_with_analyser(header, path, video, audio,
                                                                 hold_scans ? held : progress);
                            read_ended = Clock::now();
                            return read;
                        })};
};

// Open a file, save its header: the bytes are the analyser's header of the file, taken back
// through every control of the dialog.
void open_and_save(Run& run, HWND dialog) {
    const std::string clip = run.temp.write("clip.m2v", stream(20));
    run.prompts.open_answers.push_back(clip);
    click(dialog, ControlId::open);
    wait_for([&] { return text_of(control(dialog, ControlId::name)) == L"clip.m2v"; },
             "the opened file does not show");
    wait_for([&] { return IsWindowEnabled(dialog); }, "the dialog stays disabled");
    // A finished scan keeps its GOP list: the cancelled one below must not.
    check(exists(run.temp.file("clip.gl")), "a finished scan left no GOP list");

    const std::string saved = run.temp.file("saved.mtv");
    run.prompts.save_answers.push_back(saved);
    click(dialog, ControlId::save);
    wait_for([&] { return file_bytes(saved).size() == MtvHeader::size; }, "Save wrote nothing");
    check(run.prompts.proposed_name == "clip.mtv" &&
              run.prompts.proposed_folder == run.temp.path().string(),
          "the save dialog proposes another name or folder");
    MtvHeader expected;
    check(read_with_analyser(expected, clip, true, false, {}), "the analyser cannot read clip");
    const auto written = file_bytes(saved);
    check(std::memcmp(written.data(), expected.bytes().data(), MtvHeader::size) == 0,
          "the saved header differs from the analyser's");
}

// Three files dropped on the name box, the batch question answered Yes: three headers.
void drop_three(Run& run, HWND dialog) {
    std::vector<std::string> inputs;
    for (const char* name : {"a.m2v", "b.m2v", "c.mpg"})
        inputs.push_back(run.temp.write(name, stream(5)));
    drop_files(control(dialog, ControlId::name), inputs);
    const HWND question =
        wait_for([&] { return find_dialog(L"Quarnel", dialog); }, "no batch question");
    check(answer_message_box(question, IDYES) ==
              wide_from_utf8(LoadMessage(Language::english, MessageId::confirm_batch)),
          "the batch question has another text");
    for (const char* name : {"a.mtv", "b.mtv", "c.mtv"})
        wait_for([&] { return file_bytes(run.temp.file(name)).size() == MtvHeader::size; },
                 "a dropped file got no header");
    wait_for([&] { return IsWindowEnabled(dialog); }, "the dialog stays disabled after the batch");
    check(text_of(control(dialog, ControlId::name)) == L"c.mpg",
          "the last file of the batch does not show");
}

// Cancel in the middle of a long scan: the read fails with message 134 at once and leaves
// no GOP list.
void cancel_a_scan(Run& run, HWND dialog) {
    const std::string big = run.temp.write("big.m2v", stream(2000));
    run.hold_scans = true;
    run.prompts.open_answers.push_back(big);
    click(dialog, ControlId::open);
    const HWND progress = wait_for(
        [&] {
            return run.hold.reached ? find_dialog(wide_from_utf8(QUARNEL_PROGRESS_EN_CAPTION))
                                    : nullptr;
        },
        "no progress window");
    check(!IsWindowEnabled(dialog), "the dialog takes input during the read");
    SendMessageW(GetDlgItem(progress, IDCANCEL), BM_CLICK, 0, 0);
    const auto clicked = Clock::now();
    run.hold.resume = true;
    const HWND error = wait_for([&] { return find_dialog(L"Quarnel", dialog); }, "no error box");
    check(answer_message_box(error, IDOK) ==
              wide_from_utf8(LoadMessage(Language::english, MessageId::read_failed)),
          "the error box has another text");
    wait_for([&] { return IsWindowEnabled(dialog); }, "the dialog stays disabled after Cancel");
    check(!IsWindow(progress), "the progress window stays");
    check(!exists(run.temp.file("big.gl")), "a cancelled scan wrote a GOP list");
    const double stopped_after =
        std::chrono::duration<double>(run.read_ended.load() - clicked).count();
    std::printf("the cancelled scan stopped %.3f s after the click\n", stopped_after);
    check(stopped_after < 0.5, "the scan did not stop at once");
}

bool display_present() {
    // Under Wine, windows need an X display; Windows itself always has its desktop.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return true;
    return GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0 ||
           GetEnvironmentVariableW(L"WAYLAND_DISPLAY", nullptr, 0) > 0;
}

}  // namespace
}  // namespace quarnel

int main() {
    using namespace quarnel;
    if (!display_present()) {
        std::puts("dialog_driver: no display, skipped");
        std::fflush(stdout);
        // Ended at once: under Wine without a display, the normal exit can wait on the
        // desktop process that never comes up.
        TerminateProcess(GetCurrentProcess(), 77);
    }
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    Run run;
    std::thread user([&run] {
        const HWND dialog = wait_for([] { return find_dialog(L"Quarnel"); }, "no dialog");
        for (const auto& [name, step] :
             {std::pair<const char*, void (*)(Run&, HWND)>{"open and save", open_and_save},
              {"drop three", drop_three},
              {"cancel a scan", cancel_a_scan}}) {
            const auto start = Clock::now();
            step(run, dialog);
            std::printf("%s: %.3f s\n", name, seconds_since(start));
        }
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    run.dialog.run();
    user.join();
    std::puts("dialog_driver: passed");
    return 0;
}
