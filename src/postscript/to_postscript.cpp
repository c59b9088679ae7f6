// Placeholder until the PostScript device is built.
#include "postscript/postscript.h"

namespace tgd {

int to_postscript() { return 0; }

}  // namespace tgd
