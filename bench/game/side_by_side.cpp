// Measures programs that draw into X windows side by side on one display, for scripts/bench_game.sh:
// for each one its frames a second, counted from outside as the updates of its window that the
// X server reports (the damage extension: a presented frame is one update of the window), and its
// processor share of one core over the same seconds, the whole process (every thread: the
// renderer's included) and its main thread alone, from /proc.
//   game_side_by_side SECONDS NAME PID TITLE WIDTHxHEIGHT [NAME PID TITLE WIDTHxHEIGHT ...]
// Waits (up to 60 s) until every window is shown with its title at its size (a program may show
// a window of that title at another size first, as the game does through its intro), then two
// seconds more to let them settle.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
  std::string name;
  int pid = 0;
  std::string title;
  int width = 0, height = 0;
  Window window = 0;
  Damage damage = 0;
  long frames = 0;
  double wholeStart = 0, mainStart = 0;
  double whole = 0, main = 0;  // processor seconds over the measurement
};

// A viewable window of the program's title and size under parent (searched depth first), or 0.
Window FindWindow(Display* display, Window parent, const Program& program) {
  Window root = 0, up = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, parent, &root, &up, &children, &count)) return 0;
  Window found = 0;
  for (unsigned i = 0; i < count && found == 0; ++i) {
    char* name = nullptr;
    XWindowAttributes attributes;
    if (XFetchName(display, children[i], &name) && name != nullptr) {
      if (program.title == name && XGetWindowAttributes(display, children[i], &attributes) &&
          attributes.map_state == IsViewable && attributes.width == program.width &&
          attributes.height == program.height) {
        found = children[i];
      }
      XFree(name);
    }
    if (found == 0) found = FindWindow(display, children[i], program);
  }
  if (children != nullptr) XFree(children);
  return found;
}

// User plus system time in seconds from a /proc stat file; negative when it cannot be read.
double ProcessorSeconds(const std::string& path) {
  std::ifstream file(path);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  long utime = 0, stime = 0;
  // After the name: state is field 3; utime and stime are fields 14 and 15.
  for (int number = 3; number <= 15 && fields >> field; ++number) {
    if (number == 14) utime = std::atol(field.c_str());
    if (number == 15) stime = std::atol(field.c_str());
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double WholeSeconds(int pid) { return ProcessorSeconds("/proc/" + std::to_string(pid) + "/stat"); }
double MainSeconds(int pid) {
  return ProcessorSeconds("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) +
                          "/stat");
}

int ThreadCount(int pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(file, line)) {
    if (line.rfind("Threads:", 0) == 0) return std::atoi(line.c_str() + 8);
  }
  return 0;
}

bool FindWindows(Display* display, std::vector<Program>& programs) {
  const Clock::time_point deadline = Clock::now() + std::chrono::seconds(60);
  for (Program& program : programs) {
    while ((program.window = FindWindow(display, DefaultRootWindow(display), program)) == 0) {
      if (Clock::now() > deadline) {
        std::fprintf(stderr, "no window titled \"%s\" was shown at %d x %d\n",
                     program.title.c_str(), program.width, program.height);
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  return true;
}

// Counts window updates until the end: each damage report is one presented frame, taken back
// at once so that the next frame reports again.
void CountFrames(Display* display, int damageEvent, std::vector<Program>& programs,
                 Clock::time_point end) {
  const int connection = ConnectionNumber(display);
  while (Clock::now() < end) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type != damageEvent + XDamageNotify) continue;
      auto* notify = reinterpret_cast<XDamageNotifyEvent*>(&event);
      for (Program& program : programs) {
        if (notify->damage != program.damage) continue;
        ++program.frames;
        XDamageSubtract(display, program.damage, 0, 0);
      }
    }
    XFlush(display);
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(connection, &readable);
    timeval wait{0, 10000};
    select(connection + 1, &readable, nullptr, nullptr, &wait);
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<Program> programs;
  for (int i = 2; i + 3 < argc; i += 4) {
    Program program{argv[i], std::atoi(argv[i + 1]), argv[i + 2]};
    if (std::sscanf(argv[i + 3], "%dx%d", &program.width, &program.height) != 2) break;
    programs.push_back(program);
  }
  if (argc < 6 || (argc - 2) % 4 != 0 || programs.size() != static_cast<size_t>(argc - 2) / 4) {
    std::fprintf(stderr, "usage: %s SECONDS NAME PID TITLE WIDTHxHEIGHT [NAME PID TITLE ...]\n",
                 argv[0]);
    return 2;
  }
  const double seconds = std::atof(argv[1]);
  Display* display = XOpenDisplay(nullptr);
  int damageEvent = 0, damageError = 0;
  if (display == nullptr || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
    std::fprintf(stderr, "no X display with the damage extension\n");
    return 1;
  }
  if (!FindWindows(display, programs)) return 1;
  std::this_thread::sleep_for(std::chrono::seconds(2));
  for (Program& program : programs) {
    program.damage = XDamageCreate(display, program.window, XDamageReportNonEmpty);
  }
  XSync(display, False);
  const Clock::time_point start = Clock::now();
  for (Program& program : programs) {
    program.wholeStart = WholeSeconds(program.pid);
    program.mainStart = MainSeconds(program.pid);
  }
  CountFrames(
      display, damageEvent, programs,
      start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  for (Program& program : programs) {
    program.whole = WholeSeconds(program.pid) - program.wholeStart;
    program.main = MainSeconds(program.pid) - program.mainStart;
  }
  std::printf("%-12s %8s %8s %8s %8s\n", "program", "fps", "whole%", "main%", "threads");
  for (const Program& program : programs) {
    std::printf("%-12s %8.1f %8.1f %8.1f %8d\n", program.name.c_str(), program.frames / elapsed,
                100.0 * program.whole / elapsed, 100.0 * program.main / elapsed,
                ThreadCount(program.pid));
  }
  const Program& first = programs.front();
  for (size_t i = 1; i < programs.size(); ++i) {
    if (programs[i].whole > 0) {
      std::printf("%s / %s, whole process: %.2f\n", first.name.c_str(), programs[i].name.c_str(),
                  first.whole / programs[i].whole);
    }
  }
  XCloseDisplay(display);
  return 0;
}
