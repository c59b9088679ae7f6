// tgd: the graphics device driver process.  The host starts it with the
// operation pipe on descriptor 15 and the reply pipe on descriptor 16.
#include "driver/command_loop.h"

int main() {
    tgd::start_up();
    return tgd::device();
}
