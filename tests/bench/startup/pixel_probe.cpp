// Watches pixels of the X display's root window and prints, for each point
// given, the wall-clock time (seconds since the epoch) at which it first
// showed the wanted colour, one line a point in the order given; "timeout"
// for a point not seen within 30 s. A colour is "R,G,B", or "painted" for
// anything but black and white. Polling one pixel every millisecond gives
// start-up figures a resolution screenshots cannot.
// Usage: pixel_probe X Y COLOUR [X Y COLOUR]...
#include <xcb/xcb.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <thread>
#include <vector>

namespace {

struct Point {
    int x = 0;
    int y = 0;
    std::optional<std::array<int, 3>> colour;  // nothing: painted
    double seenAt = 0;
};

double wallClock() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

std::optional<std::array<int, 3>> readPixel(xcb_connection_t* c, xcb_window_t root, int x, int y) {
    xcb_get_image_cookie_t cookie =
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, static_cast<int16_t>(x), static_cast<int16_t>(y), 1, 1, ~0u);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
    if (!reply) return std::nullopt;
    std::optional<std::array<int, 3>> rgb;
    if (xcb_get_image_data_length(reply) >= 3) {
        const uint8_t* p = xcb_get_image_data(reply);  // blue, green, red on a 24-bit little-endian screen
        rgb = std::array<int, 3>{p[2], p[1], p[0]};
    }
    std::free(reply);
    return rgb;
}

bool matches(const Point& point, const std::array<int, 3>& rgb) {
    if (point.colour) return *point.colour == rgb;
    const bool black = rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0;
    const bool white = rgb[0] == 255 && rgb[1] == 255 && rgb[2] == 255;
    return !black && !white;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || (argc - 1) % 3 != 0) {
        std::fprintf(stderr, "usage: pixel_probe X Y COLOUR [X Y COLOUR]...\n");
        return 2;
    }
    std::vector<Point> points;
    for (int i = 1; i + 2 < argc; i += 3) {
        Point p{std::atoi(argv[i]), std::atoi(argv[i + 1]), std::nullopt, 0};
        if (std::strcmp(argv[i + 2], "painted") != 0) {
            std::array<int, 3> rgb{};
            if (std::sscanf(argv[i + 2], "%d,%d,%d", &rgb[0], &rgb[1], &rgb[2]) != 3) return 2;
            p.colour = rgb;
        }
        points.push_back(p);
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const double deadline = wallClock() + 30;
    size_t seen = 0;
    while (seen < points.size() && wallClock() < deadline) {
        for (Point& p : points) {
            if (p.seenAt != 0) continue;
            std::optional<std::array<int, 3>> rgb = readPixel(c, root, p.x, p.y);
            if (rgb && matches(p, *rgb)) {
                p.seenAt = wallClock();
                ++seen;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (const Point& p : points) {
        if (p.seenAt != 0) std::printf("%.3f\n", p.seenAt);
        else std::printf("timeout\n");
    }
    xcb_disconnect(c);
    return 0;
}
