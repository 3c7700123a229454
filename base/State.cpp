// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/State.h"

#include "base/DrawMasks.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <unistd.h>

namespace zg {

DrawRecord DrawTable[MaxDraws + 1];
std::int32_t DrawCount = 0;
std::int32_t LayoutProbe = 0;
bool DatabaseWhole = true;
std::string AppDir;
FileStamp DatabaseStamp;

namespace {

DrawMasks& CachedMasks() {
    static DrawMasks masks;
    return masks;
}
bool MasksStale = true;

} // namespace

const DrawMasks& AllDrawMasks() {
    DrawMasks& masks = CachedMasks();
    if (MasksStale || masks.count() != DrawCount) {
        masks = DrawMasks(AllDraws());
        MasksStale = false;
    }
    return masks;
}

void DrawTableChanged() {
    MasksStale = true;
}

void ResetProgramState() {
    std::fill(std::begin(DrawTable), std::end(DrawTable), DrawRecord{});
    DrawCount = 0;
    LayoutProbe = 0;
    DatabaseWhole = true;
    DatabaseStamp = FileStamp{};
    AppDir.clear();
    CachedMasks() = DrawMasks();
    MasksStale = true;
}

std::string AppPath(const std::string& name) {
    return AppDir + "/" + name;
}

std::string ComputeAppDir() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return ".";
    std::string path(buf, static_cast<std::size_t>(n));
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return ""; // program in the root folder: AppPath gives "/name"
    return path.substr(0, slash);
}

} // namespace zg
