// solvane_x11_copy PREFIX COUNT INTERVAL_MS
//
// Copies COUNT distinct texts, "PREFIX 0000" upwards, to the X11 CLIPBOARD
// one after another, INTERVAL_MS apart, as an X11 program does: it takes
// the selection and answers every request for it with the text it holds
// now. Before taking each one it prints the wall-clock time in microseconds
// since 1970 and the text's number, so that a waiter on the Windows side
// (whose clock is the same under Wine) can tell how long the text took to
// reach the clip list. After the last copy it answers requests for one
// more second, then ends. scripts/bench-wine.sh runs it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

long long NowUs(clockid_t clock) {
  timespec ts{};
  clock_gettime(clock, &ts);
  return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

struct Atoms {
  Atom clipboard, targets, utf8, text, plain, plainUtf8;
};

// Answers one SelectionRequest with `text` (or refuses what it cannot give).
void Answer(Display* display, const XSelectionRequestEvent& request, const Atoms& atoms, const std::string& text) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.display = request.display;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.time = request.time;
  const Atom property = request.property != None ? request.property : request.target;
  reply.property = property;
  if (request.target == atoms.targets) {
    const Atom offered[] = {atoms.targets, atoms.utf8, XA_STRING, atoms.text, atoms.plain, atoms.plainUtf8};
    XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(offered), sizeof offered / sizeof offered[0]);
  } else if (request.target == atoms.utf8 || request.target == XA_STRING || request.target == atoms.text ||
             request.target == atoms.plain || request.target == atoms.plainUtf8) {
    // The texts are ASCII: the same bytes in every one of these forms.
    const Atom type = request.target == atoms.text ? XA_STRING : request.target;
    XChangeProperty(display, request.requestor, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  } else {
    reply.property = None;
  }
  XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
  XFlush(display);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s PREFIX COUNT INTERVAL_MS\n", argv[0]);
    return 2;
  }
  const std::string prefix = argv[1];
  const int count = std::atoi(argv[2]);
  const long long intervalUs = std::atoll(argv[3]) * 1000;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the X display\n");
    return 1;
  }
  const Atoms atoms{
      XInternAtom(display, "CLIPBOARD", False),   XInternAtom(display, "TARGETS", False),
      XInternAtom(display, "UTF8_STRING", False), XInternAtom(display, "TEXT", False),
      XInternAtom(display, "text/plain", False),  XInternAtom(display, "text/plain;charset=utf-8", False)};
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);

  const auto serveUntil = [&](long long untilUs, const std::string& text) {
    for (;;) {
      while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionRequest) Answer(display, event.xselectionrequest, atoms, text);
      }
      const long long left = untilUs - NowUs(CLOCK_MONOTONIC);
      if (left <= 0) return;
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      poll(&fd, 1, static_cast<int>((left + 999) / 1000));
    }
  };

  char number[16];
  long long next = NowUs(CLOCK_MONOTONIC);
  for (int i = 0; i < count; ++i) {
    std::snprintf(number, sizeof number, "%04d", i);
    const std::string text = prefix + " " + number;
    std::printf("%lld %d\n", NowUs(CLOCK_REALTIME), i);
    std::fflush(stdout);
    XSetSelectionOwner(display, atoms.clipboard, window, CurrentTime);
    XFlush(display);
    next += intervalUs;
    serveUntil(i + 1 < count ? next : NowUs(CLOCK_MONOTONIC) + 1000000, text);
  }
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
