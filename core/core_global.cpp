// The program's one central object, for programs that do not define it among their own
// globals. A program that does (the game defines it right after its command-line string, in
// the order of its globals) never pulls this file out of the library, because the linker takes
// an archive member only for a symbol still undefined; keep `Core` the only symbol here.
// The priority builds it ahead of every global without one, so that global objects of other
// files may use it in their constructors, and destroys it after them.
#include "core/core.h"

KV_CORE Core __attribute__((init_priority(1000)));
