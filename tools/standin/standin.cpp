// The stand-in TV application: one program that plays any of the eight TV
// applications, chosen by the name it was started under (TotalMedia.exe,
// Kestrin.exe, ...) or by --app NAME. It opens that application's main
// window, logs what reaches it, and closes the way that application does.
//
//   standin [--app NAME] [--title T] [--class C] [--form FORM]... [args]
//   standin --app NAME --control show|hide FORM   (asks a running copy)
//
// FORM is TPopupForm, TSourceForm, TFormCalander, TDialogForm, PictureView,
// Playback or TWizardForm. The log (env RC_STANDIN_LOG, else
// standin-<name>.log in the current directory) gets one line per event:
//   t=<GetTickCount> <name> <window> <event>
// events: START hwnd=0x.. class="" title="", ARGS "<command line>",
// WM_KEYDOWN|WM_KEYUP|WM_SYSKEYDOWN|WM_SYSKEYUP vk=0x.. lParam=0x........ ext=0|1,
// WM_COMMAND wParam=.. lParam=.., MSG <number> wParam=<dec> lParam=<dec>,
// WM_SYSCOMMAND SC_CLOSE, WM_CLOSE, FORM show|hide <form>, CLOSE command <n>,
// EXIT.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct App {
    const char* name;
    const char* exe;
    const char* className;
    const char* title;
    UINT closeMsg;  // 0: closes only on Alt+F4 and WM_CLOSE
    WPARAM closeCmd;
    const char* viewerClass;  // class of the picture viewer and playback forms
};

// Class and title are what each application's own window searches find.
const App kApps[] = {
    {"ArcSoftTV5", "TotalMediaTV5.exe", "_MIRACLE_20090309_1", "Arcsoft TV 5.0", 0, 0, nullptr},
    {"TotalMedia", "TotalMedia.exe", "ARCSOFT_MEDIA_CENTER_FRAMEWNDCLASS", "ArcSoft TotalMedia", 0, 0, nullptr},
    {"OrbiskCenter", "Kestrin.exe", "TarvelMainPanel_Class", "Orbisk Center", 4024, 25, "TarvelPlayer_Class"},
    {"MediaCenter", "ehshell.exe", "eHome Render Window", "Windows Media Center", 0, 0, nullptr},
    {"PowerCinema", "PowerCinema.exe", "StandIn_PowerCinema", "PowerCinema", 0, 0, nullptr},
    {"TVEnhance", "TVEnhance.exe", "TVEnhance", "TV Enhance", 0, 0, nullptr},
    {"Savrin", "Nolvo.exe", "StandIn_Savrin", "Dravune", 3000, 25, "Dravune"},
    {"Orbisk", "Brisel.exe", "TarvelMainPanel_Class", "TVR", 4024, 1, "TarvelPlayer_Class"},
};

struct Form {
    const char* name;
    const char* className;  // null: the viewer class of the application
    const char* title;
};
const Form kForms[] = {
    {"TPopupForm", "TPopupForm", "Popup"},
    {"TSourceForm", "TSourceForm", "Source"},
    {"TFormCalander", "TFormCalander", "Calander"},
    {"TDialogForm", "TDialogForm", "Dialog"},
    {"PictureView", nullptr, "PictureView"},
    {"Playback", nullptr, "Playback"},
    {"TWizardForm", "TWizardForm", "WizardForm"},
};
constexpr int kFormCount = sizeof kForms / sizeof kForms[0];

// Posted by --control to a running copy: wParam form index, lParam 1 show.
constexpr UINT kControlMsg = WM_APP + 0x51;

const App* g_app = nullptr;
const char* g_className = nullptr;
const char* g_title = nullptr;
HWND g_main = nullptr;
HWND g_forms[kFormCount];
FILE* g_log = nullptr;

void Log(HWND hwnd, const char* fmt, ...) {
    if (!g_log) return;
    const char* window = "main";
    for (int i = 0; i < kFormCount; ++i)
        if (hwnd && g_forms[i] == hwnd) window = kForms[i].name;
    std::fprintf(g_log, "t=%lu %s %s ", GetTickCount(), g_app->name, window);
    va_list args;
    va_start(args, fmt);
    std::vfprintf(g_log, fmt, args);
    va_end(args);
    std::fputc('\n', g_log);
    // Tests poll the file while we run.
    std::fflush(g_log);
}

const char* FormClass(int i) {
    if (kForms[i].className) return kForms[i].className;
    return g_app->viewerClass ? g_app->viewerClass : "TarvelPlayer_Class";
}

int FindForm(const char* name) {
    for (int i = 0; i < kFormCount; ++i)
        if (lstrcmpiA(kForms[i].name, name) == 0) return i;
    return -1;
}

void ShowForm(int i, bool show) {
    if (i < 0 || i >= kFormCount) return;
    if (!g_forms[i] && show)
        g_forms[i] = CreateWindowExA(0, FormClass(i), kForms[i].title, WS_OVERLAPPEDWINDOW,
                                     40 + 30 * i, 40 + 30 * i, 240, 160, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
    if (!g_forms[i]) return;
    ShowWindow(g_forms[i], show ? SW_SHOW : SW_HIDE);
    Log(g_forms[i], "FORM %s %s", show ? "show" : "hide", kForms[i].name);
}

const char* KeyName(UINT msg) {
    switch (msg) {
        case WM_KEYDOWN: return "WM_KEYDOWN";
        case WM_KEYUP: return "WM_KEYUP";
        case WM_SYSKEYDOWN: return "WM_SYSKEYDOWN";
        case WM_SYSKEYUP: return "WM_SYSKEYUP";
    }
    return nullptr;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (const char* key = KeyName(msg)) {
        Log(hwnd, "%s vk=0x%02X lParam=0x%08lX ext=%d", key, static_cast<unsigned>(wParam),
            static_cast<unsigned long>(lParam), (lParam >> 24) & 1 ? 1 : 0);
    } else if (msg == kControlMsg) {
        ShowForm(static_cast<int>(wParam), lParam != 0);
        return 0;
    } else if (msg == WM_COMMAND) {
        Log(hwnd, "WM_COMMAND wParam=%u lParam=%ld", static_cast<unsigned>(wParam), static_cast<long>(lParam));
    } else if (msg >= WM_USER && msg < 0xC000) {
        Log(hwnd, "MSG %u wParam=%u lParam=%ld", msg, static_cast<unsigned>(wParam), static_cast<long>(lParam));
        if (g_app->closeMsg && msg == g_app->closeMsg && wParam == g_app->closeCmd) {
            // The family's applications quit on their close command, from any form.
            Log(hwnd, "CLOSE command %u", static_cast<unsigned>(wParam));
            DestroyWindow(g_main);
        }
        return 0;
    } else if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        Log(hwnd, "WM_SYSCOMMAND SC_CLOSE");
    } else if (msg == WM_CLOSE) {
        Log(hwnd, "WM_CLOSE");
    } else if (msg == WM_DESTROY && hwnd == g_main) {
        for (HWND form : g_forms)
            if (form) DestroyWindow(form);
        PostQuitMessage(0);
        return 0;
    } else if (msg == WM_DESTROY) {
        for (HWND& form : g_forms)
            if (form == hwnd) form = nullptr;
    }
    // Alt+F4 and WM_CLOSE close through the default handling, as usual.
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

const App* AppByName(const char* name) {
    for (const App& app : kApps) {
        if (lstrcmpiA(app.name, name) == 0 || lstrcmpiA(app.exe, name) == 0) return &app;
        // The exe name without ".exe".
        size_t n = std::strlen(app.exe) - 4;
        if (std::strlen(name) == n && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, app.exe,
                                                     static_cast<int>(n), name, static_cast<int>(n)) == CSTR_EQUAL)
            return &app;
    }
    return nullptr;
}

const App* AppFromExeName() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    path[sizeof path - 1] = '\0';
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') base = p + 1;
    return AppByName(base);
}

bool RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = g_className;
    if (!RegisterClassExA(&wc)) return false;
    for (int i = 0; i < kFormCount; ++i) {
        wc.lpszClassName = FormClass(i);
        RegisterClassExA(&wc);  // the two viewers share one class
    }
    return true;
}

int Control(const char* verb, const char* formName) {
    int form = FindForm(formName);
    HWND target = FindWindowA(g_className, g_title);
    if (form < 0 || !target) return 1;
    PostMessageA(target, kControlMsg, static_cast<WPARAM>(form), lstrcmpiA(verb, "show") == 0 ? 1 : 0);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    const char* control = nullptr;
    const char* controlForm = nullptr;
    int startForms[kFormCount];
    int startFormCount = 0;
    g_app = AppFromExeName();
    for (int i = 1; i < __argc; ++i) {
        const char* arg = __argv[i];
        const char* value = i + 1 < __argc ? __argv[i + 1] : nullptr;
        if (!value) break;
        if (std::strcmp(arg, "--app") == 0) g_app = AppByName(value), ++i;
        else if (std::strcmp(arg, "--title") == 0) g_title = value, ++i;
        else if (std::strcmp(arg, "--class") == 0) g_className = value, ++i;
        else if (std::strcmp(arg, "--form") == 0 && startFormCount < kFormCount) startForms[startFormCount++] = FindForm(value), ++i;
        else if (std::strcmp(arg, "--control") == 0 && i + 2 < __argc) control = value, controlForm = __argv[i + 2], i += 2;
    }
    if (!g_app) return 2;
    if (!g_className) g_className = g_app->className;
    if (!g_title) g_title = g_app->title;
    if (control) return Control(control, controlForm);

    char logName[MAX_PATH];
    const char* env = std::getenv("RC_STANDIN_LOG");
    if (env && *env) lstrcpynA(logName, env, sizeof logName);
    else std::snprintf(logName, sizeof logName, "standin-%s.log", g_app->name);
    g_log = std::fopen(logName, "a");

    if (!RegisterClasses(instance)) return 3;
    g_main = CreateWindowExA(0, g_className, g_title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                             360, 240, nullptr, nullptr, instance, nullptr);
    if (!g_main) return 4;
    Log(g_main, "START hwnd=0x%lX class=\"%s\" title=\"%s\"",
        static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(g_main)), g_className, g_title);
    Log(g_main, "ARGS \"%s\"", cmdLine ? cmdLine : "");
    ShowWindow(g_main, SW_SHOW);
    UpdateWindow(g_main);
    SetForegroundWindow(g_main);
    for (int i = 0; i < startFormCount; ++i) ShowForm(startForms[i], true);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Log(nullptr, "EXIT");
    if (g_log) std::fclose(g_log);
    return static_cast<int>(msg.wParam);
}
