// Montages: pictures joined side by side in the process.
#include "montage.h"

#include <cstring>
#include <map>
#include <string>

#include "outputs.h"
#include "picture.h"
#include "state.h"

namespace {

std::map<std::string, std::vector<unsigned char>>& Kept() {
    static std::map<std::string, std::vector<unsigned char>> kept;
    return kept;
}

}  // namespace

void KeepForMontage(const char* format) {
    const size_t bytes = static_cast<size_t>(NCOLS) * NROWS * 3;
    Kept()[format].assign(RGBdata, RGBdata + bytes);
}

void ForgetMontageParts() { Kept().clear(); }

bool Montage(const std::vector<const char*>& parts, const char* target, int time) {
    const std::string out = FormatString(target, dirname, time);
    std::vector<const unsigned char*> pixels;
    for (const char* p : parts) {
        auto it = Kept().find(p);
        if (it == Kept().end()) {
            OutputFailed(out, "its part " + FormatString(p, dirname, time) + " was not drawn");
            return false;
        }
        pixels.push_back(it->second.data());
    }
    const size_t partRow = static_cast<size_t>(NCOLS) * 3;
    std::vector<unsigned char> row(partRow * parts.size());
    // Image row y shows grid row NROWS-1-y of every part.
    return WriteRgbPicture(out, NCOLS * static_cast<int>(parts.size()), NROWS, [&](int y) {
        const size_t from = partRow * static_cast<size_t>(NROWS - 1 - y);
        for (size_t k = 0; k < pixels.size(); k++) memcpy(&row[k * partRow], pixels[k] + from, partRow);
        return static_cast<const unsigned char*>(row.data());
    });
}
