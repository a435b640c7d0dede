/* Exact start-up probe: starts a command on the current X display, polls the pixels of every new
 * top-level window each millisecond until one shows more than one colour, then prints the time from
 * start to that first painted frame, the process's peak resident memory (VmHWM) at that moment, and
 * its peak once it has run on for --after milliseconds (default 300), which holds what it does just
 * after its first frame.
 *
 * With --smaps PREFIX it also copies the process's /proc/PID/smaps to PREFIX.paint at the first frame
 * and to PREFIX.after at the end, to see which mappings hold the memory.
 *
 *   startup [--timeout SECONDS] [--after MS] [--smaps PREFIX] command [args...]
 *   -> "first_paint_ms 83.4 peak_kib 27345 peak_after_kib 29012"
 */
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

enum { KMaxWindows = 64 };

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static long peakKib(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, f)) {
        if (strncmp(line, "VmHWM:", 6) == 0) kib = strtol(line + 6, NULL, 10);
    }
    fclose(f);
    return kib;
}

static void copySmaps(pid_t pid, const char* prefix, const char* suffix) {
    if (!prefix) return;
    char from[64], to[4096];
    snprintf(from, sizeof from, "/proc/%d/smaps", (int)pid);
    snprintf(to, sizeof to, "%s.%s", prefix, suffix);
    FILE* in = fopen(from, "r");
    FILE* out = fopen(to, "w");
    char buffer[8192];
    size_t n;
    while (in && out && (n = fread(buffer, 1, sizeof buffer, in)) > 0) fwrite(buffer, 1, n, out);
    if (in) fclose(in);
    if (out) fclose(out);
}

/* True when the window's pixels hold more than one colour: something was drawn into it. A band of
 * rows through the middle is read, not the whole window: a frame arrives whole, and the smaller read
 * keeps the probe from slowing the X server down for the program it measures. */
static int painted(xcb_connection_t* c, xcb_window_t w) {
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), NULL);
    if (!g) return 0;
    const uint16_t width = g->width, height = g->height;
    free(g);
    const uint16_t band = height < 16 ? height : 16;
    xcb_get_image_reply_t* img = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, (int16_t)((height - band) / 2), width, band, ~0u), NULL);
    if (!img) return 0;
    const uint8_t* data = xcb_get_image_data(img);
    const int length = xcb_get_image_data_length(img);
    int painted = 0;
    if (img->depth >= 24 && length >= 8) {
        const uint32_t* px = (const uint32_t*)data;
        const uint32_t first = px[0] & 0xffffff;
        for (int i = 1; i < length / 4; ++i) {
            if ((px[i] & 0xffffff) != first) {
                painted = 1;
                break;
            }
        }
    }
    free(img);
    return painted;
}

int main(int argc, char** argv) {
    int arg = 1;
    double timeoutMs = 30000, afterMs = 300;
    const char* smaps = NULL;
    for (; arg + 1 < argc && argv[arg][0] == '-' && argv[arg][1] == '-'; arg += 2) {
        if (strcmp(argv[arg], "--timeout") == 0)
            timeoutMs = atof(argv[arg + 1]) * 1000;
        else if (strcmp(argv[arg], "--after") == 0)
            afterMs = atof(argv[arg + 1]);
        else if (strcmp(argv[arg], "--smaps") == 0)
            smaps = argv[arg + 1];
        else
            break;
    }
    if (arg >= argc) {
        fprintf(stderr, "usage: %s [--timeout SECONDS] [--after MS] [--smaps PREFIX] command [args...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "startup: cannot open the X display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[arg], argv + arg);
        perror("startup: exec");
        _exit(127);
    }

    xcb_window_t mapped[KMaxWindows];
    int count = 0;
    double paintedAt = -1;
    long peak = -1;
    while (nowMs() - start < timeoutMs) {
        xcb_generic_event_t* e;
        while ((e = xcb_poll_for_event(c)) != NULL) {
            if ((e->response_type & 0x7f) == XCB_MAP_NOTIFY && count < KMaxWindows) {
                const xcb_map_notify_event_t* m = (const xcb_map_notify_event_t*)e;
                if (m->event == root) mapped[count++] = m->window;
            }
            free(e);
        }
        for (int i = 0; i < count && paintedAt < 0; ++i) {
            if (painted(c, mapped[i])) {
                paintedAt = nowMs() - start;
                peak = peakKib(pid);
                copySmaps(pid, smaps, "paint");
            }
        }
        if (paintedAt >= 0) break;
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            fprintf(stderr, "startup: the command ended before painting a window\n");
            return 1;
        }
        nanosleep(&(struct timespec){0, 1000000}, NULL);
    }
    long peakAfter = -1;
    if (paintedAt >= 0) {
        const double until = nowMs() + afterMs;
        for (double left; (left = until - nowMs()) > 0;)
            nanosleep(&(struct timespec){(time_t)(left / 1000), (long)((left - (time_t)(left / 1000) * 1000) * 1e6)},
                      NULL);
        peakAfter = peakKib(pid);
        copySmaps(pid, smaps, "after");
    }
    kill(pid, SIGTERM);
    waitpid(pid, NULL, 0);
    xcb_disconnect(c);
    if (paintedAt < 0) {
        fprintf(stderr, "startup: no painted window within %.0f s\n", timeoutMs / 1000);
        return 1;
    }
    printf("first_paint_ms %.1f peak_kib %ld peak_after_kib %ld\n", paintedAt, peak, peakAfter);
    return 0;
}
