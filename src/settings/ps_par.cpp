#include "settings/ps_par.h"
#include "base/process_state.h"

namespace tgd {

PostScriptSettings ps_par;

namespace {
const StateReset reset_state{[] { ps_par = PostScriptSettings{}; }};
}  // namespace

void ps_optchange() {}

std::string_view c_text(const std::string& s) {
    std::string_view v(s);
    return v.substr(0, v.find('\0'));
}

}  // namespace tgd
