#include "deferred/cio.h"

#include "deferred/fields.h"

namespace tgd {

void ptline_(int, std::string_view) {}
void prtfil_(int) {
    encbfl_ = 0;
    encbfc_.reset();
}

}  // namespace tgd
