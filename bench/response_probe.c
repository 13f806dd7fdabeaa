/* One measured run of the reader in a real window, for bench/response.sh.
 *
 * Starts the reader, waits for its first painted frame, then drives it with real input (XTest)
 * and watches two things on one monotonic clock: changes of the window (XDamage) and sound on
 * a PulseAudio monitor source (a recording thread that stamps every block of samples). Memory
 * and CPU come from /proc. Prints one "name value" line per figure, times in milliseconds.
 *
 * usage: response_probe --monitor SOURCE --xvfb-pid PID --unit X,Y --line X,Y
 *                       --sentences X,Y[;X,Y...] -- READER [ARGS...]
 *        response_probe --monitor SOURCE --xvfb-pid PID --rhythm TURNS [--gap-ms MS]
 *                       [--open-keys KEYS] [--tap-after-s S [--tap-point X,Y]
 *                       [--turn-after-tap-ms MS]]
 *                       [--turns-file PATH --run N] -- READER [ARGS...]
 * The second form is a learner paging back and forth: it opens a page with the keyboard (KEYS
 * are X key names such as Down or Return; "/" waits for the next screen), optionally hears one
 * sentence S seconds into the page (the Down key, or a click at the point) and waits for its end
 * (or only until MS after the tap), then turns Right, Left, Right, ... one key every MS (1500)
 * and stamps each turn's first changed frame.
 * Coordinates are window pixels. The line must open a page without moving pictures whose next
 * page has none either, so that every change of the window is the reader answering input.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <pthread.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <signal.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static void sleep_ms(double ms) {
    struct timespec ts = {(time_t)(ms / 1000), (long)((ms - (time_t)(ms / 1000) * 1000) * 1e6)};
    nanosleep(&ts, NULL);
}

/* ---- sound: blocks of 1 ms, each with its capture time and loudest sample ---- */
#define RATE 44100
#define BLOCK (RATE / 1000)
#define MAX_BLOCKS (600 * 1000)
#define LOUD 300 /* of 32767: about -40 dBFS; silence in the book's files is digital zero */
static double g_blockTime[MAX_BLOCKS];
static short g_blockPeak[MAX_BLOCKS];
static atomic_int g_blocks;
static atomic_int g_stopAudio;
static const char* g_monitor;

static void* record_thread(void* arg) {
    (void)arg;
    pa_sample_spec ss = {PA_SAMPLE_S16LE, RATE, 2};
    pa_buffer_attr ba;
    memset(&ba, 0xff, sizeof ba);
    ba.fragsize = BLOCK * 4 * 2; /* ask for 2 ms fragments: fine-grained time stamps */
    int err = 0;
    pa_simple* s = pa_simple_new(NULL, "pagly-bench", PA_STREAM_RECORD, g_monitor, "monitor", &ss,
                                 NULL, &ba, &err);
    if (!s) {
        fprintf(stderr, "response_probe: cannot record %s: %s\n", g_monitor, pa_strerror(err));
        exit(2);
    }
    short buf[BLOCK * 2 * 2];
    while (!atomic_load(&g_stopAudio)) {
        if (pa_simple_read(s, buf, sizeof buf, &err) < 0) break;
        double t = now_ms();
        pa_usec_t lat = pa_simple_get_latency(s, &err);
        /* the last sample read was captured `lat` ago; blocks before it one ms earlier each */
        for (int b = 0; b < 2; ++b) {
            int peak = 0;
            for (int i = 0; i < BLOCK * 2; ++i) {
                int v = buf[b * BLOCK * 2 + i];
                if (v < 0) v = -v;
                if (v > peak) peak = v;
            }
            int n = atomic_load(&g_blocks);
            if (n >= MAX_BLOCKS) continue;
            g_blockTime[n] = t - lat / 1000.0 - (1 - b) * 1.0;
            g_blockPeak[n] = (short)(peak > 32767 ? 32767 : peak);
            atomic_store(&g_blocks, n + 1);
        }
    }
    pa_simple_free(s);
    return NULL;
}

/* First loud block captured after `after`, waiting up to `timeout` ms; -1 if none. */
static double sound_onset(double after, double timeout) {
    int from = 0;
    double end = now_ms() + timeout;
    while (now_ms() < end) {
        int n = atomic_load(&g_blocks);
        for (int i = from; i < n; ++i) {
            if (g_blockTime[i] > after && g_blockPeak[i] >= LOUD) return g_blockTime[i];
        }
        from = n;
        sleep_ms(2);
    }
    return -1;
}

/* Time of the last loud block before `quiet` ms of silence, looking from `after`. */
static double sound_end(double after, double quiet, double timeout) {
    double end = now_ms() + timeout, lastLoud = after;
    int i = 0;
    while (now_ms() < end) {
        int n = atomic_load(&g_blocks);
        for (; i < n; ++i) {
            if (g_blockTime[i] <= after) continue;
            if (g_blockPeak[i] >= LOUD) lastLoud = g_blockTime[i];
            else if (g_blockTime[i] - lastLoud >= quiet) return lastLoud;
        }
        sleep_ms(5);
    }
    return -1;
}

/* ---- window ---- */
static Display* g_dpy;
static Window g_win;
static int g_damageEvent;
static Damage g_damage;

static int is_reader_window(Window w);

static void watch_window(Window w) {
    g_win = w;
    g_damage = XDamageCreate(g_dpy, g_win, XDamageReportNonEmpty);
    XSync(g_dpy, False);
}

/* Waits for the next change of the window; returns its time, or -1 after `timeout` ms. */
static double next_damage(double timeout) {
    double end = now_ms() + timeout;
    while (1) {
        while (XPending(g_dpy)) {
            XEvent e;
            XNextEvent(g_dpy, &e);
            if (e.type == MapNotify && e.xmap.window != g_win && is_reader_window(e.xmap.window)) {
                /* the reader made its window anew (e.g. for another renderer): follow it */
                watch_window(e.xmap.window);
                return now_ms();
            }
            if (e.type == g_damageEvent + XDamageNotify) {
                double t = now_ms();
                XDamageSubtract(g_dpy, g_damage, None, None);
                XFlush(g_dpy);
                return t;
            }
        }
        double left = end - now_ms();
        if (left <= 0) return -1;
        fd_set fds;
        FD_ZERO(&fds);
        int fd = ConnectionNumber(g_dpy);
        FD_SET(fd, &fds);
        struct timeval tv = {(long)(left / 1000), (long)((left - (long)(left / 1000) * 1000) * 1000)};
        select(fd + 1, &fds, NULL, NULL, &tv);
    }
}

static void drain_damage(void) {
    while (next_damage(0) >= 0) {
    }
}

/* Waits until the window has not changed for `quiet` ms (at most `timeout`). */
static void settle(double quiet, double timeout) {
    double end = now_ms() + timeout;
    while (now_ms() < end && next_damage(quiet) >= 0) {
    }
}

/* Windows come and go while a program starts (a renderer may try one first): an error about
 * one of them is no reason to stop. */
static int ignore_x_error(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static int is_reader_window(Window w) {
    char* name = NULL;
    int ok = XFetchName(g_dpy, w, &name) && name && strcmp(name, "pagly") == 0;
    if (name) XFree(name);
    return ok;
}

/* Whether the window shows more than one colour. A few thin strips are read, not the whole
 * window: reading 731 x 963 pixels keeps Xvfb busy for some 25 ms, long enough to hold up the
 * reader's own first frame behind it (and to stamp that frame late) when a blank expose came
 * first. */
static int strip_varies(int x, int y, int w, int h, unsigned long* first, int* haveFirst) {
    XImage* img = XGetImage(g_dpy, g_win, x, y, w, h, AllPlanes, ZPixmap);
    if (!img) return 0;
    int varied = 0;
    for (int j = 0; j < h && !varied; ++j)
        for (int i = 0; i < w; ++i) {
            unsigned long p = XGetPixel(img, i, j);
            if (!*haveFirst) {
                *first = p;
                *haveFirst = 1;
            } else if (p != *first) {
                varied = 1;
                break;
            }
        }
    XDestroyImage(img);
    return varied;
}

static int window_shows_something(void) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(g_dpy, g_win, &a) || a.map_state != IsViewable) return 0;
    unsigned long first = 0;
    int haveFirst = 0;
    for (int k = 1; k < 8; ++k)
        if (strip_varies(0, a.height * k / 8, a.width, 1, &first, &haveFirst)) return 1;
    for (int k = 1; k < 4; ++k)
        if (strip_varies(a.width * k / 4, 0, 1, a.height, &first, &haveFirst)) return 1;
    return 0;
}

static double click(int x, int y) {
    XWarpPointer(g_dpy, None, g_win, 0, 0, 0, 0, x, y);
    XSync(g_dpy, False);
    sleep_ms(30);
    XTestFakeButtonEvent(g_dpy, 1, True, CurrentTime);
    double t = now_ms();
    XFlush(g_dpy);
    return t;
}

static void release_button(void) {
    XTestFakeButtonEvent(g_dpy, 1, False, CurrentTime);
    XFlush(g_dpy);
}

static double key(KeySym sym) {
    KeyCode code = XKeysymToKeycode(g_dpy, sym);
    XTestFakeKeyEvent(g_dpy, code, True, CurrentTime);
    double t = now_ms();
    XFlush(g_dpy);
    XTestFakeKeyEvent(g_dpy, code, False, 30);
    XFlush(g_dpy);
    return t;
}

/* ---- /proc ---- */
static double cpu_ms(pid_t pid) {
    char path[64], buf[1024];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    size_t n = fread(buf, 1, sizeof buf - 1, f);
    fclose(f);
    buf[n] = 0;
    char* p = strrchr(buf, ')');
    unsigned long ut = 0, st = 0;
    /* after ")": state ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt utime stime */
    if (!p || sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &ut, &st) != 2)
        return -1;
    return (ut + st) * 1000.0 / sysconf(_SC_CLK_TCK);
}

/* With PAGLY_BENCH_SMAPS=DIR, the reader's memory map at each memory figure is kept there
 * (one file per figure and process), to see where the memory goes. */
static void keep_smaps(pid_t pid, const char* figure) {
    const char* dir = getenv("PAGLY_BENCH_SMAPS");
    if (!dir || !*dir) return;
    char from[64], to[512], buf[65536];
    snprintf(from, sizeof from, "/proc/%d/smaps", (int)pid);
    snprintf(to, sizeof to, "%s/%s.%d.smaps", dir, figure, (int)pid);
    FILE* in = fopen(from, "r");
    FILE* out = in ? fopen(to, "w") : NULL;
    size_t n;
    while (out && (n = fread(buf, 1, sizeof buf, in)) > 0) fwrite(buf, 1, n, out);
    if (out) fclose(out);
    if (in) fclose(in);
}

static double pss_mb(pid_t pid, const char* figure) {
    keep_smaps(pid, figure);
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/smaps_rollup", (int)pid);
    FILE* f = fopen(path, "r");
    if (!f) return -1;
    double kb = -1;
    while (fgets(line, sizeof line, f))
        if (sscanf(line, "Pss: %lf kB", &kb) == 1) break;
    fclose(f);
    return kb / 1024.0;
}

/* CPU share (percent of a core) of the reader and of the X server over `ms`. */
static void cpu_share(pid_t reader, pid_t xserver, double ms, double* readerPct, double* xPct) {
    double a = cpu_ms(reader), xa = cpu_ms(xserver), t0 = now_ms();
    sleep_ms(ms);
    double b = cpu_ms(reader), xb = cpu_ms(xserver), t1 = now_ms();
    *readerPct = 100.0 * (b - a) / (t1 - t0);
    *xPct = 100.0 * (xb - xa) / (t1 - t0);
}

static void parse_point(const char* s, int* x, int* y) {
    if (sscanf(s, "%d,%d", x, y) != 2) {
        fprintf(stderr, "response_probe: bad point %s\n", s);
        exit(2);
    }
}

/* Asks the reader to quit; after two seconds (or a wrapper that does not pass the signal on,
 * such as strace) it is killed. */
static void stop_reader(pid_t pid) {
    kill(pid, SIGTERM);
    int status;
    for (int w = 0; w < 100 && waitpid(pid, &status, WNOHANG) == 0; ++w) sleep_ms(20);
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
}

/* ---- the paging rhythm (--rhythm) ---- */
struct rhythm {
    int turns;
    double gapMs;
    const char* openKeys;
    double tapAfterS; /* < 0: no sentence is heard before the turns */
    double turnAfterTapMs; /* < 0: the turns start once the sentence has ended */
    int tapX, tapY, tapByClick;
    const char* turnsFile;
    int run;
};

/* Presses the keys of `keys` one by one; "/" waits for the screen they lead to. */
static int press_keys(const char* keys) {
    char* list = strdup(keys);
    int ok = 1;
    for (char* tok = strtok(list, " ,"); tok; tok = strtok(NULL, " ,")) {
        if (!strcmp(tok, "/")) {
            sleep_ms(1500);
            continue;
        }
        KeySym sym = XStringToKeysym(tok);
        if (sym == NoSymbol) {
            fprintf(stderr, "response_probe: no key named %s\n", tok);
            ok = 0;
            break;
        }
        key(sym);
        sleep_ms(250);
    }
    free(list);
    return ok;
}

static void sort_ms(double* v, int n) {
    for (int x = 0; x < n; ++x)
        for (int y = x + 1; y < n; ++y)
            if (v[y] < v[x]) {
                double t = v[x];
                v[x] = v[y];
                v[y] = t;
            }
}

/* Opens the page, then turns back and forth at a steady rhythm; prints one turn_frame_ms per
 * turn (and the run's median, 90th percentile and maximum), and appends each turn's figures to
 * the turns file: run, turn, key, when (ms since the page opened), frame ms. */
static int run_rhythm(const struct rhythm* r) {
    sleep_ms(1500);
    if (!press_keys(r->openKeys)) return 1;
    sleep_ms(1500);
    settle(500, 5000);
    double opened = now_ms();
    if (r->tapAfterS >= 0) {
        double wait = opened + r->tapAfterS * 1000 - now_ms();
        if (wait > 0) sleep_ms(wait);
        double t;
        if (r->tapByClick) {
            t = click(r->tapX, r->tapY);
            sleep_ms(60);
            release_button();
        } else {
            t = key(XK_Down); /* the page's first sentence, as a tap on it */
        }
        double on = sound_onset(t, 3000);
        printf("rhythm_tap_sound_ms %.1f\n", on < 0 ? -1.0 : on - t);
        if (r->turnAfterTapMs >= 0) {
            double left = t + r->turnAfterTapMs - now_ms();
            if (left > 0) sleep_ms(left);
        } else {
            sound_end(on > 0 ? on : t, 400, 8000);
            settle(400, 3000);
        }
    }
    FILE* out = r->turnsFile ? fopen(r->turnsFile, "a") : NULL;
    double* ms = calloc((size_t)r->turns, sizeof *ms);
    double start = now_ms() + (r->turnAfterTapMs >= 0 ? 0 : 200);
    int n = 0;
    for (int k = 0; k < r->turns; ++k) {
        double wait = start + k * r->gapMs - now_ms();
        if (wait > 0) sleep_ms(wait);
        drain_damage();
        int forward = k % 2 == 0;
        double tk = key(forward ? XK_Right : XK_Left);
        double d = next_damage(3000);
        double lat = d < 0 ? -1.0 : d - tk;
        printf("turn_frame_ms %.1f\n", lat);
        if (out)
            fprintf(out, "%d\t%d\t%s\t%.1f\t%.1f\t%.1f\n", r->run, k + 1,
                    forward ? "Right" : "Left", tk, tk - opened, lat);
        if (lat >= 0) ms[n++] = lat;
    }
    if (out) fclose(out);
    sort_ms(ms, n);
    if (n > 0) {
        double med = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
        printf("run_turn_median_ms %.1f\nrun_turn_p90_ms %.1f\nrun_turn_max_ms %.1f\n", med,
               ms[(int)(0.9 * (n - 1) + 0.5)], ms[n - 1]);
    }
    free(ms);
    return n == r->turns ? 0 : 1;
}

int main(int argc, char** argv) {
    int ux = 0, uy = 0, lx = 0, ly = 0, sx[8], sy[8], ns = 0;
    pid_t xpid = 0;
    struct rhythm rh = {0, 1500, "Down Down Return / Down Down Down Return /", -1, -1, 0, 0, 0, NULL, 1};
    int i = 1;
    for (; i < argc; ++i) {
        if (!strcmp(argv[i], "--")) {
            ++i;
            break;
        } else if (!strcmp(argv[i], "--monitor") && i + 1 < argc) {
            g_monitor = argv[++i];
        } else if (!strcmp(argv[i], "--xvfb-pid") && i + 1 < argc) {
            xpid = atoi(argv[++i]);
        } else if (!strcmp(argv[i], "--rhythm") && i + 1 < argc) {
            rh.turns = atoi(argv[++i]);
        } else if (!strcmp(argv[i], "--gap-ms") && i + 1 < argc) {
            rh.gapMs = atof(argv[++i]);
        } else if (!strcmp(argv[i], "--open-keys") && i + 1 < argc) {
            rh.openKeys = argv[++i];
        } else if (!strcmp(argv[i], "--tap-after-s") && i + 1 < argc) {
            rh.tapAfterS = atof(argv[++i]);
        } else if (!strcmp(argv[i], "--turn-after-tap-ms") && i + 1 < argc) {
            rh.turnAfterTapMs = atof(argv[++i]);
        } else if (!strcmp(argv[i], "--tap-point") && i + 1 < argc) {
            parse_point(argv[++i], &rh.tapX, &rh.tapY);
            rh.tapByClick = 1;
        } else if (!strcmp(argv[i], "--turns-file") && i + 1 < argc) {
            rh.turnsFile = argv[++i];
        } else if (!strcmp(argv[i], "--run") && i + 1 < argc) {
            rh.run = atoi(argv[++i]);
        } else if (!strcmp(argv[i], "--unit") && i + 1 < argc) {
            parse_point(argv[++i], &ux, &uy);
        } else if (!strcmp(argv[i], "--line") && i + 1 < argc) {
            parse_point(argv[++i], &lx, &ly);
        } else if (!strcmp(argv[i], "--sentences") && i + 1 < argc) {
            char* list = strdup(argv[++i]);
            for (char* tok = strtok(list, ";"); tok && ns < 8; tok = strtok(NULL, ";")) {
                parse_point(tok, &sx[ns], &sy[ns]);
                ++ns;
            }
            free(list);
        } else {
            fprintf(stderr, "response_probe: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (i >= argc || !g_monitor || (rh.turns <= 0 && ns < 2)) {
        fprintf(stderr, "usage: response_probe --monitor SRC --xvfb-pid PID --unit X,Y --line X,Y "
                        "--sentences X,Y;X,Y -- READER [ARGS]\n"
                        "       response_probe --monitor SRC --xvfb-pid PID --rhythm TURNS "
                        "[--gap-ms MS] [--open-keys KEYS] [--tap-after-s S [--tap-point X,Y] "
                        "[--turn-after-tap-ms MS]] "
                        "[--turns-file PATH --run N] -- READER [ARGS]\n");
        return 2;
    }
    g_dpy = XOpenDisplay(NULL);
    if (!g_dpy) {
        fprintf(stderr, "response_probe: no X display\n");
        return 2;
    }
    int damageError;
    if (!XDamageQueryExtension(g_dpy, &g_damageEvent, &damageError)) {
        fprintf(stderr, "response_probe: the X server has no DAMAGE extension\n");
        return 2;
    }
    XSetErrorHandler(ignore_x_error);
    Window root = DefaultRootWindow(g_dpy);
    XSelectInput(g_dpy, root, SubstructureNotifyMask);
    XSync(g_dpy, False);

    pthread_t rec;
    pthread_create(&rec, NULL, record_thread, NULL);
    sleep_ms(300); /* the recording stream is running before anything can sound */

    double t0 = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[i], argv + i);
        _exit(127);
    }
    /* The reader's window: the first top-level window mapped after the start. */
    while (!g_win) {
        XEvent e;
        XNextEvent(g_dpy, &e);
        if (e.type == MapNotify && e.xmap.event == root && is_reader_window(e.xmap.window))
            watch_window(e.xmap.window);
    }
    double painted = -1;
    if (window_shows_something()) painted = now_ms();
    while (painted < 0) {
        double t = next_damage(10000);
        if (t < 0) {
            fprintf(stderr, "response_probe: the window never showed anything\n");
            kill(pid, SIGKILL);
            return 1;
        }
        if (window_shows_something()) painted = t;
    }
    printf("start_to_main_page_ms %.1f\n", painted - t0);
    if (rh.turns > 0 || getenv("PAGLY_BENCH_START_ONLY")) {
        int failed = rh.turns > 0 ? run_rhythm(&rh) : 0;
        stop_reader(pid);
        atomic_store(&g_stopAudio, 1);
        pthread_join(rec, NULL);
        return failed;
    }

    /* The main page's walking figure keeps it moving: its cost is the reader's and the X
     * server's CPU while nothing else happens. */
    sleep_ms(1500);
    double rc, xc;
    cpu_share(pid, xpid, 5000, &rc, &xc);
    printf("main_page_cpu_pct %.2f\nmain_page_x_cpu_pct %.2f\nmain_page_total_cpu_pct %.2f\n", rc,
           xc, rc + xc);

    /* To a page: a unit, then a line of its contents. */
    click(ux, uy);
    sleep_ms(60);
    release_button();
    sleep_ms(1200);
    click(lx, ly);
    sleep_ms(60);
    release_button();
    sleep_ms(1500);
    settle(500, 5000);

    /* Still page: what it costs to sit there, and the memory it takes. */
    cpu_share(pid, xpid, 10000, &rc, &xc);
    printf("still_page_cpu_pct %.3f\nstill_page_x_cpu_pct %.3f\n", rc, xc);
    printf("page_pss_mb %.1f\n", pss_mb(pid, "page"));

    /* Tap a sentence: the first of the run opens the sound path, later ones reuse it. */
    for (int k = 0; k < ns; ++k) {
        double t = click(sx[k], sy[k]);
        double on = sound_onset(t, 3000);
        sleep_ms(60);
        release_button();
        if (on < 0) {
            printf("%s nan\n", k == 0 ? "click_first_sound_ms" : "click_later_sound_ms");
        } else {
            printf("%s %.1f\n", k == 0 ? "click_first_sound_ms" : "click_later_sound_ms", on - t);
        }
        sound_end(on > 0 ? on : t, 400, 6000);
        sleep_ms(300);
    }
    settle(400, 3000);

    /* Space: automatic reading starts with the sentence after the one touched last; then the
     * silences between sentences as they follow each other. */
    double t = key(XK_space);
    double on = sound_onset(t, 3000);
    printf("space_sound_ms %.1f\n", on < 0 ? -1.0 : on - t);
    for (int gaps = 0; on > 0 && gaps < 2; ++gaps) {
        double end = sound_end(on, 400, 8000);
        if (end < 0) break;
        double next = sound_onset(end + 1, 4000);
        if (next < 0) break;
        printf("autoread_gap_ms %.1f\n", next - end);
        on = next;
    }
    key(XK_space); /* off again: stops the recording */
    sleep_ms(300);
    settle(500, 4000);

    /* Page turns: Right, then back and forth between two still pages. */
    drain_damage();
    for (int k = 0; k < 5; ++k) {
        double tk = key(k % 2 == 0 ? XK_Right : XK_Left);
        double d = next_damage(3000);
        printf("%s %.1f\n", k == 0 ? "turn_first_frame_ms" : "turn_later_frame_ms",
               d < 0 ? -1.0 : d - tk);
        sleep_ms(getenv("PAGLY_BENCH_TURN_PAUSE_MS") ? atof(getenv("PAGLY_BENCH_TURN_PAUSE_MS")) : 900);
        settle(400, 4000);
    }
    /* Steady memory, as for the first page: the learner stays on the page a few seconds (the
     * reader gives freed heap back five seconds after a page has settled). */
    sleep_ms(6500);
    printf("page_pss_after_turns_mb %.1f\n", pss_mb(pid, "after_turns"));

    stop_reader(pid);
    atomic_store(&g_stopAudio, 1);
    pthread_join(rec, NULL);
    XCloseDisplay(g_dpy);
    return 0;
}
