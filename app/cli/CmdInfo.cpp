#include "app/cli/Commands.h"

#include <cstdio>

namespace zg::cli {

int CmdInfo(const Args&) {
    std::fputs("not available yet\n", stderr);
    return 2;
}

} // namespace zg::cli
