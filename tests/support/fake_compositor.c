/* Stands in for a compositing manager: owns the selection _NET_WM_CM_S0 on the current X display
 * until it is ended, as a compositor does for as long as it runs. Prints "ready" once it owns it. */
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <xcb/xcb.h>

int main(void) {
    xcb_connection_t* c = xcb_connect(NULL, NULL);
    if (xcb_connection_has_error(c)) return 2;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t owner = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, owner, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, NULL);
    const char* name = "_NET_WM_CM_S0";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, strlen(name), name), NULL);
    if (!atom) return 2;
    xcb_set_selection_owner(c, owner, atom->atom, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t* check =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), NULL);
    if (!check || check->owner != owner) return 1;
    printf("ready\n");
    fflush(stdout);
    pause(); /* SIGTERM ends the process; the X server then drops the selection */
    return 0;
}
