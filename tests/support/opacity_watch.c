/* Watches, from the X server's side, what a window's opacity does: finds the top-level window with the
 * given name, then prints one line per change of its _NET_WM_WINDOW_OPACITY as the server stamped it:
 *   <server time in ms> <value read back at once, 0..255, or "none">
 * The server's time stamp tells when the request reached it, whatever the client thought it sent; the
 * value is read right after the event, so within a fast fade it may already be a later step's.
 * With --grab PREFIX it saves the screen under the window as PPM pictures: PREFIX-start.ppm at the
 * first change (what lies beneath), PREFIX-mid.ppm when the value first reads at least half: that is how
 * a test sees the screen in the middle of a fade.
 *
 *   opacity_watch NAME SECONDS [--grab PREFIX]
 * Ends after SECONDS; exit 2 when the window never appeared. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

static xcb_atom_t intern(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), NULL);
    xcb_atom_t atom = r ? r->atom : XCB_ATOM_NONE;
    free(r);
    return atom;
}

static int hasName(xcb_connection_t* c, xcb_window_t w, const char* name) {
    xcb_get_property_reply_t* p =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_ATOM_ANY, 0, 256), NULL);
    int match = p && (size_t)xcb_get_property_value_length(p) == strlen(name) &&
                memcmp(xcb_get_property_value(p), name, strlen(name)) == 0;
    free(p);
    return match;
}

static xcb_window_t find(xcb_connection_t* c, xcb_window_t root, const char* name) {
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), NULL);
    xcb_window_t found = XCB_NONE;
    if (!tree) return found;
    xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && found == XCB_NONE; ++i) {
        if (hasName(c, children[i], name)) found = children[i];
    }
    free(tree);
    return found;
}

/* Saves what the screen shows over the window's rectangle (the root window holds the composited
 * picture), as a binary PPM. */
static void grab(xcb_connection_t* c, xcb_window_t root, xcb_window_t w, const char* file) {
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, w), NULL);
    if (!g) return;
    xcb_get_image_reply_t* img = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, g->x, g->y, g->width, g->height, ~0u), NULL);
    if (img && xcb_get_image_data_length(img) >= g->width * g->height * 4) {
        FILE* out = fopen(file, "wb");
        if (out) {
            const uint8_t* px = xcb_get_image_data(img);
            fprintf(out, "P6\n%u %u\n255\n", g->width, g->height);
            for (int i = 0; i < g->width * g->height; ++i) {
                const uint8_t rgb[3] = {px[4 * i + 2], px[4 * i + 1], px[4 * i]};
                fwrite(rgb, 1, 3, out);
            }
            fclose(out);
        }
    }
    free(img);
    free(g);
}

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        fprintf(stderr, "usage: opacity_watch NAME SECONDS [--grab PREFIX]\n");
        return 64;
    }
    const char* name = argv[1];
    const time_t end = time(NULL) + atoi(argv[2]);
    const char* prefix = argc == 5 ? argv[4] : NULL;
    char startFile[4096], midFile[4096];
    if (prefix) {
        snprintf(startFile, sizeof startFile, "%s-start.ppm", prefix);
        snprintf(midFile, sizeof midFile, "%s-mid.ppm", prefix);
    }

    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) return 2;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t opacity = intern(c, "_NET_WM_WINDOW_OPACITY");

    xcb_window_t w = XCB_NONE;
    while (w == XCB_NONE && time(NULL) < end) {
        w = find(c, root, name);
        if (w == XCB_NONE) usleep(20000);
    }
    if (w == XCB_NONE) return 2;
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    fprintf(stderr, "watching 0x%x\n", w);

    int changes = 0, grabbedMid = 0;
    while (time(NULL) < end) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c)) break;
            usleep(200);
            continue;
        }
        if ((e->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            const xcb_property_notify_event_t* p = (const xcb_property_notify_event_t*)e;
            if (p->atom == opacity) {
                xcb_get_property_reply_t* v =
                    xcb_get_property_reply(c, xcb_get_property(c, 0, w, opacity, XCB_ATOM_CARDINAL, 0, 1), NULL);
                if (v && xcb_get_property_value_length(v) == 4) {
                    const uint32_t value = *(const uint32_t*)xcb_get_property_value(v);
                    const unsigned alpha = (unsigned)(((uint64_t)value * 255 + 0x7fffffff) / 0xffffffffu);
                    printf("%u %u\n", p->time, alpha);
                    if (prefix && !grabbedMid && alpha >= 128 && alpha < 255) {
                        grab(c, root, w, midFile);
                        grabbedMid = 1;
                    }
                } else {
                    printf("%u none\n", p->time);
                }
                free(v);
                fflush(stdout);
                if (++changes == 1 && prefix) grab(c, root, w, startFile);
            }
        }
        free(e);
    }
    xcb_disconnect(c);
    return 0;
}
