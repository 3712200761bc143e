/* Waits until the application with the given process id is known on the
 * accessibility bus and one of its objects has the focus: the X11 capture
 * tests start capturing only then.
 *   wlhook_atspiready PID TIMEOUT_MS      exit 0 when ready, 1 on timeout */

#include <atspi/atspi.h>
#include <stdlib.h>

static gboolean hasFocused(AtspiAccessible *node, int depth, int *budget)
{
    if (--*budget < 0 || depth > 32)
        return FALSE;
    AtspiStateSet *states = atspi_accessible_get_state_set(node);
    gboolean focused = states && atspi_state_set_contains(states, ATSPI_STATE_FOCUSED);
    if (states)
        g_object_unref(states);
    if (focused)
        return TRUE;
    int n = atspi_accessible_get_child_count(node, NULL);
    for (int i = 0; i < n; ++i) {
        AtspiAccessible *child = atspi_accessible_get_child_at_index(node, i, NULL);
        if (!child)
            continue;
        gboolean found = hasFocused(child, depth + 1, budget);
        g_object_unref(child);
        if (found)
            return TRUE;
    }
    return FALSE;
}

static gboolean ready(guint pid)
{
    gboolean found = FALSE;
    AtspiAccessible *desktop = atspi_get_desktop(0);
    int apps = atspi_accessible_get_child_count(desktop, NULL);
    for (int i = 0; i < apps && !found; ++i) {
        AtspiAccessible *app = atspi_accessible_get_child_at_index(desktop, i, NULL);
        if (!app)
            continue;
        if (atspi_accessible_get_process_id(app, NULL) == pid) {
            int budget = 500;
            found = hasFocused(app, 0, &budget);
        }
        g_object_unref(app);
    }
    g_object_unref(desktop);
    return found;
}

int main(int argc, char **argv)
{
    if (argc < 3)
        return 2;
    const guint pid = (guint)strtoul(argv[1], NULL, 10);
    const gint64 deadline = g_get_monotonic_time() + (gint64)atoi(argv[2]) * 1000;
    if (atspi_init() == 2)
        return 1;
    atspi_set_timeout(1000, 0);
    while (g_get_monotonic_time() < deadline) {
        /* Brings the cached list of applications up to date. */
        while (g_main_context_iteration(NULL, FALSE)) {
        }
        if (ready(pid))
            return 0;
        g_usleep(50 * 1000);
    }
    return 1;
}
