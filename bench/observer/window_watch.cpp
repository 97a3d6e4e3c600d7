// An outside observer of start-up: starts a program and watches the X display until a
// window of that process shows a page, judged by the colour of the screen itself.
//
//   bench_window_watch RRGGBB PROGRAM [ARGS...]
//
// Prints "pid N" once started, "window S" when the process first maps a top-level window,
// and "shown S" when the middle of that window and two points beside it show the colour
// (seconds since the start). It then waits for stdin to close and leaves the process to the
// caller, which measures and ends it.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    auto *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t a = r ? r->atom : XCB_ATOM_NONE;
    std::free(r);
    return a;
}

bool ownedBy(xcb_connection_t *c, xcb_window_t w, xcb_atom_t pidAtom, pid_t pid)
{
    auto *r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    bool mine = r && xcb_get_property_value_length(r) == 4
                && *static_cast<const uint32_t *>(xcb_get_property_value(r)) == uint32_t(pid);
    std::free(r);
    return mine;
}

bool viewable(xcb_connection_t *c, xcb_window_t w)
{
    auto *r = xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    const bool v = r && r->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(r);
    return v;
}

// The process's viewable windows, searched under the window manager's frames too.
void findWindows(xcb_connection_t *c, xcb_window_t parent, xcb_atom_t pidAtom, pid_t pid, int depth,
                 std::vector<xcb_window_t> &out)
{
    auto *r = xcb_query_tree_reply(c, xcb_query_tree(c, parent), nullptr);
    if (!r)
        return;
    const xcb_window_t *kids = xcb_query_tree_children(r);
    for (int i = 0; i < xcb_query_tree_children_length(r); ++i) {
        if (ownedBy(c, kids[i], pidAtom, pid)) {
            if (viewable(c, kids[i]))
                out.push_back(kids[i]);
        } else if (depth < 3) {
            findWindows(c, kids[i], pidAtom, pid, depth + 1, out);
        }
    }
    std::free(r);
}

struct Box {
    int x = 0, y = 0, w = 0, h = 0;
};

Box onScreen(xcb_connection_t *c, xcb_window_t w, xcb_window_t root)
{
    Box b;
    auto *g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), nullptr);
    auto *t = xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, w, root, 0, 0), nullptr);
    if (g && t)
        b = {t->dst_x, t->dst_y, g->width, g->height};
    std::free(g);
    std::free(t);
    return b;
}

bool pixelIs(xcb_connection_t *c, xcb_window_t root, int x, int y, uint32_t want)
{
    auto *r = xcb_get_image_reply(c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, x, y, 1, 1, ~0u), nullptr);
    if (!r)
        return false;
    bool same = false;
    if (xcb_get_image_data_length(r) >= 4) {
        uint32_t px;
        std::memcpy(&px, xcb_get_image_data(r), 4);
        same = true;
        for (int shift : {0, 8, 16}) {
            const int a = int((px >> shift) & 0xff), b = int((want >> shift) & 0xff);
            if (std::abs(a - b) > 6)
                same = false;
        }
    }
    std::free(r);
    return same;
}

double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RRGGBB PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const uint32_t colour = uint32_t(std::strtoul(argv[1], nullptr, 16));
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t pidAtom = atom(c, "_NET_WM_PID");

    const Clock::time_point t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    std::printf("pid %d\n", int(pid));
    std::fflush(stdout);

    bool mapped = false;
    const timespec pause{0, 2 * 1000 * 1000};
    while (since(t0) < 60) {
        std::vector<xcb_window_t> windows;
        findWindows(c, root, pidAtom, pid, 0, windows);
        for (xcb_window_t w : windows) {
            const Box b = onScreen(c, w, root);
            if (b.w < 200 || b.h < 200)
                continue;
            if (!mapped) {
                mapped = true;
                std::printf("window %.4f\n", since(t0));
                std::fflush(stdout);
            }
            const int cx = b.x + b.w / 2, cy = b.y + b.h / 2;
            if (pixelIs(c, root, cx, cy, colour) && pixelIs(c, root, cx - b.w / 5, cy, colour)
                && pixelIs(c, root, cx + b.w / 5, cy + b.h / 8, colour)) {
                std::printf("shown %.4f\n", since(t0));
                std::fflush(stdout);
                char buf[64];
                while (read(0, buf, sizeof buf) > 0) {
                }
                xcb_disconnect(c);
                return 0;
            }
        }
        nanosleep(&pause, nullptr); // the observer's polling interval
    }
    std::printf("timeout\n");
    std::fflush(stdout);
    xcb_disconnect(c);
    return 1;
}
