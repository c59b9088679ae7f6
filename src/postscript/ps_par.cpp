#include "postscript/ps_par.h"

namespace tgd {

PostScriptSettings ps_par;

void ps_optchange() {}

}  // namespace tgd
