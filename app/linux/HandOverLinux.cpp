#include "app/HandOver.h"

#include <QString>

#include <xcb/xcb.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

extern char** environ;

namespace HandOver {

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* reply
        = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, static_cast<uint16_t>(strlen(name)), name), nullptr);
    xcb_atom_t atom = XCB_ATOM_NONE;
    if (reply)
        atom = reply->atom;
    free(reply);
    return atom;
}

// The windows to look at: the window manager's client list (managed windows
// are reparented below frames) and the root's own children.
std::vector<xcb_window_t> TopLevelWindows(xcb_connection_t* c, xcb_window_t root)
{
    std::vector<xcb_window_t> windows;
    const xcb_atom_t clientList = Atom(c, "_NET_CLIENT_LIST");
    if (clientList != XCB_ATOM_NONE) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, root, clientList, XCB_ATOM_WINDOW, 0, 65536), nullptr);
        if (reply && reply->format == 32) {
            const auto* ids = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
            windows.assign(ids, ids + xcb_get_property_value_length(reply) / 4);
        }
        free(reply);
    }
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree);
        windows.insert(windows.end(), children, children + xcb_query_tree_children_length(tree));
        free(tree);
    }
    return windows;
}

// Whether the property holds exactly the title. Reads one byte more than the
// title so that a longer name never matches.
bool PropertyIs(xcb_get_property_cookie_t cookie, xcb_connection_t* c, const char* title)
{
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    bool match = false;
    if (reply && reply->format == 8) {
        const int length = xcb_get_property_value_length(reply);
        match = static_cast<size_t>(length) == strlen(title) && reply->bytes_after == 0
            && memcmp(xcb_get_property_value(reply), title, static_cast<size_t>(length)) == 0;
    }
    free(reply);
    return match;
}

// The file to start for the registry's name: an absolute path as it is, a
// bare name from the absolute folders of the search path, anything else
// (empty, or a relative path such as "./rel.sh") nothing.
std::string ProgramPath(const std::string& program, const char* searchPath)
{
    if (program.empty())
        return std::string();
    if (program.front() == '/')
        return program;
    if (program.find('/') != std::string::npos)
        return std::string();
    // Only absolute folders of the search path: an empty or relative entry
    // would mean the current folder, where anyone may have put that name.
    const std::string folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = folders.substr(start, end - start);
        start = end + 1;
        if (folder.empty() || folder.front() != '/')
            continue;
        const std::string candidate = folder + '/' + program;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::string();
}

} // namespace

size_t ProgramLength(const std::string& program)
{
    return static_cast<size_t>(QString::fromUtf8(program.data(), static_cast<int>(program.size())).size());
}

bool IsWindowOpen()
{
    const char* display = getenv("DISPLAY");
    if (!display || !*display)
        return false;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return false;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    bool found = false;
    if (screens.rem) {
        const xcb_atom_t wmName = Atom(c, "_NET_WM_NAME");
        const uint32_t titleWords = static_cast<uint32_t>(strlen(WindowTitle) / 4 + 1);
        const std::vector<xcb_window_t> windows = TopLevelWindows(c, screens.data->root);
        // All requests go out before the first answer is awaited.
        std::vector<xcb_get_property_cookie_t> cookies;
        for (xcb_window_t w : windows) {
            cookies.push_back(xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, titleWords));
            if (wmName != XCB_ATOM_NONE)
                cookies.push_back(xcb_get_property(c, 0, w, wmName, XCB_GET_PROPERTY_TYPE_ANY, 0, titleWords));
        }
        for (const xcb_get_property_cookie_t& cookie : cookies) {
            if (PropertyIs(cookie, c, WindowTitle))
                found = true;
        }
    }
    xcb_disconnect(c);
    return found;
}

bool StartAndWait(const std::string& program)
{
    const std::string path = ProgramPath(program, getenv("PATH"));
    if (path.empty())
        return false;
    std::vector<char> file(path.begin(), path.end());
    file.push_back('\0');
    char* argv[] = {file.data(), nullptr};
    pid_t pid = 0;
    // Reports a program that exec refuses (not executable, a folder) too.
    if (posix_spawn(&pid, file.data(), nullptr, nullptr, argv, environ) != 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR))
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace HandOver
